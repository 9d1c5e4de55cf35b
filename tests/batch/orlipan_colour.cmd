@echo off
rem Asks for a colour, runs the answer as a batch file and records the result.
rem Argument: the directory to work in.
setlocal
cd /d "%~1"
> colours.txt echo red
>> colours.txt echo green
>> colours.txt echo blue
"%~dp0orlipan.exe" colours.txt "Pick a colour" "set colour=$item" > choice.cmd
set code=%ERRORLEVEL%
if %code%==0 goto cancelled
call choice.cmd
> result.txt echo picked %code% colour=%colour%
goto end
:cancelled
> result.txt echo cancelled
:end
endlocal
