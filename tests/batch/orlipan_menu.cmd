@echo off
rem A menu whose answer is only the exit code; the output is thrown away.
rem Argument: the directory to work in.
setlocal
cd /d "%~1"
> menu.txt echo Build
>> menu.txt echo.
>> menu.txt echo Test
>> menu.txt echo Quit
"%~dp0orlipan.exe" menu.txt "Main menu" "$item" /menu > NUL
if errorlevel 4 goto quit
if errorlevel 3 goto test
if errorlevel 1 goto build
> result.txt echo nothing
goto end
:build
> result.txt echo build
goto end
:test
> result.txt echo test
goto end
:quit
> result.txt echo quit
:end
endlocal
