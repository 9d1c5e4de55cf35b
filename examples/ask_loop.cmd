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
set "answer=%TEMP%\ask_loop_%RANDOM%.cmd"
set "picked="
set "count=0"

:ask
orlipan "%list%" "Pick one more - Escape when done" "set ''item=$item''" > "%answer%"
if errorlevel 1 goto check
goto done

:check
rem A pick always writes the answer. An empty answer file with a non-zero
rem exit code means orlipan could not run at all (255: no console window),
rem and asking again would never end.
for %%a in ("%answer%") do if %%~za==0 goto failed
call "%answer%"
set /a count+=1
set "picked=%picked% [%item%]"
goto ask

:failed
echo orlipan could not show the list.
:done
del "%answer%" 2>nul
echo You picked %count% item(s):%picked%
endlocal
