@echo off
rem Lets the user pick one of the files of a folder, newest first, and opens
rem it. The list comes straight from dir through a pipe: no list file.
rem
rem   open_recent [folder]      the folder defaults to the current one
rem
rem OPEN_WITH is the command that opens the picked file; it defaults to
rem "type". To open it with the program Windows associates with it, use
rem   set OPEN_WITH=start ""
setlocal
rem The tools are found on PATH, next to this file or one folder up.
set "PATH=%~dp0;%~dp0..;%PATH%"
set "folder=%~1"
if "%folder%"=="" set "folder=."
if not defined OPEN_WITH set "OPEN_WITH=type"
set "answer=%TEMP%\open_recent_%RANDOM%.txt"

rem "-" reads the list from standard input. dir writes in the console's OEM
rem code page, which /oemlist and /oemout keep for accented names; /quote
rem keeps a name starting with ";" from being taken for a comment.
dir /b /a-d /o-d "%folder%" | orlipan - "Open a recent file" "$item" /quote /oemlist /oemout > "%answer%"
if errorlevel 1 goto picked
echo Nothing was picked.
goto clean

:picked
rem A pick always writes at least the two quotes of /quote: an empty answer
rem means that orlipan could not run (exit code 255).
for %%s in ("%answer%") do if %%~zs==0 goto failed
rem Read as data with for /f, never run: see pick_file.cmd.
set "file="
for /f "usebackq delims=" %%a in ("%answer%") do set "file=%%~a"
rem !name! puts the value in after the line is read, so nothing in it
rem counts as code; it is turned on only now, so that a "!" in the name
rem read above stays too.
setlocal EnableDelayedExpansion
echo Opening "!file!"
%OPEN_WITH% "!folder!\!file!"
endlocal
goto clean

:failed
echo orlipan could not show the list.
:clean
del "%answer%" 2>nul
endlocal
