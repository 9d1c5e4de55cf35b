@echo off
rem Asks before deleting the *.tmp files of the current folder. Nobody at
rem the screen? After the countdown the default button (No) answers, so an
rem unattended run changes nothing.
rem
rem   confirm [seconds]         the countdown defaults to 10 seconds
setlocal
rem The tools are found on PATH, next to this file or one folder up.
set "PATH=%~dp0;%~dp0..;%PATH%"
set "seconds=%~1"
if "%seconds%"=="" set "seconds=10"
if not exist *.tmp (
    echo There are no .tmp files here.
    goto end
)

rem ^ breaks the line; $ in a caption shows the seconds left; /DB=2 makes
rem No the default button and the answer when the countdown ends.
vemo "Clean up" "Delete the .tmp files of this folder?^No is chosen in %seconds% seconds." "&Yes;&No ($)" /TM=%seconds% /DB=2
rem 1 Yes, 2 No (also when time ran out), 0 Escape or closed, 255 wrong command line.
set "answer=%errorlevel%"
if "%answer%"=="1" goto yes
if "%answer%"=="255" goto failed
echo Nothing was deleted.
goto end

:yes
del /q *.tmp
echo The .tmp files were deleted.
goto end

:failed
echo vemo could not ask the question.
:end
endlocal
