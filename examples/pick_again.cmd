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
set "answer=%TEMP%\pick_again_%RANDOM%.txt"

:ask
rem /sel=N starts on line N; the exit code of a pick is the number of its
rem line. Before the first pick the list starts on its first line.
set "start="
if defined last set "start=/sel=%last%"
rem The picked line itself is not needed, but its quotes (/quote) tell a
rem pick from a tool that could not run: a pick always writes them.
orlipan "%list%" "Pick a colour - Escape when done" "$item" /quote %start% > "%answer%"
set "code=%errorlevel%"
if "%code%"=="0" goto done
for %%s in ("%answer%") do if %%~zs==0 goto failed
rem 255 stands for line 255 and every line after it: the next list then
rem starts on line 255, the nearest an exit code can name.
set "last=%code%"
setlocal EnableDelayedExpansion
echo Line !last! for now.
endlocal
goto ask

:failed
echo orlipan could not show the list.
:done
if defined last (echo Your last pick: line %last%.) else echo Nothing was picked.
del "%answer%" 2>nul
endlocal
