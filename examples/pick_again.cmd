@echo off
rem Asks for a colour again and again, each time starting on the line the
rem user picked last, until the user cancels; then says which line it was.
rem
rem   pick_again [list file]    the list defaults to colours.txt next to this file
setlocal
rem The tools are found on PATH, next to this file or one folder up.
set "PATH=%~dp0;%~dp0..;%PATH%"
set "list=%~1"
if "%list%"=="" set "list=%~dp0colours.txt"
set "last="

:ask
rem /sel=N starts on line N; the exit code of a pick is the number of its
rem line. Before the first pick the list starts on its first line.
set "start="
if defined last set "start=/sel=%last%"
orlipan "%list%" "Pick a colour - Escape when done" %start%
set "code=%errorlevel%"
if "%code%"=="0" goto done
rem The list is shorter than 255 lines: 255 means that orlipan could not
rem run (no console window), and asking again would never end.
if "%code%"=="255" goto failed
set "last=%code%"
echo Line %last% for now.
goto ask

:failed
echo orlipan could not show the list.
:done
if defined last (echo Your last pick: line %last%.) else echo Nothing was picked.
endlocal
