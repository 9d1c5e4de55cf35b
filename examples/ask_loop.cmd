@echo off
rem Asks again and again until the user cancels (Escape or closing the
rem window), collects every pick and shows them all at the end.
rem
rem   ask_loop [list file]      the list defaults to colours.txt next to this file
setlocal DisableDelayedExpansion
rem The tools are found on PATH, next to this file or one folder up.
set "PATH=%~dp0;%~dp0..;%PATH%"
set "list=%~1"
if "%list%"=="" set "list=%~dp0colours.txt"
set "answer=%TEMP%\ask_loop_%RANDOM%.txt"
set "picked="
set "count=0"

:ask
rem The brackets make every answer at least two bytes, an empty line too.
orlipan "%list%" "Pick one more - Escape when done" "[$item]" > "%answer%"
if errorlevel 1 goto check
goto done

:check
rem A pick always writes the answer. An empty answer file with a non-zero
rem exit code means orlipan could not run at all (255: no console window),
rem and asking again would never end.
for %%a in ("%answer%") do if %%~za==0 goto failed
set /a count+=1
rem The answer is read as data by for /f and joined to the others with
rem delayed expansion (!name!), which puts a value into a command after the
rem command is read: a line such as salt & pepper, or one with a " or a %,
rem is never run. for /f reads it while delayed expansion is off, so a "!"
rem in it stays too; the joined text leaves the inner setlocal through the
rem "endlocal & set" of a second for /f.
for /f "usebackq delims= eol=|" %%a in ("%answer%") do set "item=%%a"
setlocal EnableDelayedExpansion
set "joined=!picked! !item!"
for /f "delims= eol=|" %%j in ("!joined!") do endlocal & set "picked=%%j"
goto ask

:failed
echo orlipan could not show the list.
:done
del "%answer%" 2>nul
setlocal EnableDelayedExpansion
echo You picked %count% item(s):!picked!
endlocal
endlocal
