@echo off
rem Asks again and again until the user cancels (Escape or closing the
rem window), collects every pick and shows them all at the end.
rem
rem   ask_loop [list file]      the list defaults to colours.txt next to this file
setlocal
rem The tools are found on PATH, next to this file or one folder up.
set "PATH=%~dp0;%~dp0..;%PATH%"
set "list=%~1"
if "%list%"=="" set "list=%~dp0colours.txt"
set "answer=%TEMP%\ask_loop_%RANDOM%.txt"
set "picks=%TEMP%\ask_loop_%RANDOM%_all.txt"
set "count=0"
type nul > "%picks%"

:ask
rem Each answer is " [line]": never empty, an empty line picked too.
rem /oemout: the picks are read back by cmd, in the console's code page.
orlipan "%list%" "Pick one more - Escape when done" " [$item]" /oemout > "%answer%"
if errorlevel 1 goto check
goto done

:check
rem A pick always writes the answer. An empty answer file with a non-zero
rem exit code means orlipan could not run at all (255), and asking again
rem would never end.
for %%a in ("%answer%") do if %%~za==0 goto failed
set /a count+=1
rem The picks are kept as data, in a file: none is ever put into a
rem command line, where a line such as salt & pepper would run "pepper".
type "%answer%" >> "%picks%"
goto ask

:failed
echo orlipan could not show the list.
:done
rem The answers have no line ends, so the file is one line, starting with a
rem space: for /f takes it whole and never for a comment, and puts it into
rem the echo after the line is read, so nothing in it counts as code.
if not %count%==0 goto show
echo You picked 0 item(s):
goto clean
:show
for /f "usebackq delims=" %%p in ("%picks%") do echo You picked %count% item(s):%%p
:clean
del "%answer%" "%picks%" 2>nul
endlocal
