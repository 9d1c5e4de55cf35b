@echo off
rem Lets the user pick one of the text files of a folder and opens it.
rem
rem   pick_file [folder]        the folder defaults to the current one
rem
rem OPEN_WITH is the command that opens the picked file. It defaults to
rem "type", which prints the file in this console; to open the file with
rem the program Windows associates with it, use
rem   set OPEN_WITH=start ""
setlocal
rem The tools are found on PATH, next to this file or one folder up.
set "PATH=%~dp0;%~dp0..;%PATH%"
set "folder=%~1"
if "%folder%"=="" set "folder=."
if not defined OPEN_WITH set "OPEN_WITH=type"
rem No block in brackets around the folder's name: a ")" in it, as in
rem C:\Program Files (x86), would end the block early.
if exist "%folder%\*.txt" goto list
echo There are no text files in "%folder%".
goto end

:list
set "answer=%TEMP%\pick_file_%RANDOM%.txt"
rem dir writes the names in the console's OEM code page: /oemlist reads
rem them so, and /oemout writes the answer back so for cmd to read. /quote
rem puts the answer in double quotes, which %%~a below takes away again:
rem so no name starting with ";" is taken for a comment by for /f.
dir /b /a-d /on "%folder%\*.txt" | orlipan - "Pick a file" "$item" /quote /oemlist /oemout > "%answer%"
if errorlevel 1 goto picked
echo Nothing was picked.
goto clean

:picked
rem A pick always writes at least the two quotes of /quote: an empty answer
rem means that orlipan could not run (exit code 255).
for %%s in ("%answer%") do if %%~zs==0 goto failed
rem for /f reads the answer as data, never as a command: %, & and
rem brackets in the name stay as they are.
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
:end
endlocal
