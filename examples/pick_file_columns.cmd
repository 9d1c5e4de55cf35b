@echo off
rem Lets the user pick one of the files of a folder from a list in three
rem columns, name, size and last change, which a click on a column's header
rem sorts, and opens the picked file.
rem
rem   pick_file_columns [folder]   the folder defaults to the current one
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
if exist "%folder%\" goto list
echo There is no folder "%folder%".
goto end

:list
rem pushd takes any folder name, brackets and "%" too; the loop below
rem then lists "*" alone.
pushd "%folder%"
set "lines=%TEMP%\pick_file_columns_%RANDOM%.txt"
set "answer=%TEMP%\pick_file_columns_%RANDOM%_answer.txt"

rem One line a file, its fields set apart by tabs (the gaps between the
rem fields below are tab characters): name, size in bytes, date and time of
rem the last change. A header line names the columns first. The lines are
rem written with one redirection each: a block in brackets piped on would
rem leave a space at the end of every line.
echo Name	Size	Modified>"%lines%"
for %%f in (*) do echo %%~nxf	%%~zf	%%~tf>>"%lines%"

rem /header=1 keeps the first line above the list as its column header,
rem where a click sorts by that column (the sizes as numbers); "$1" is the
rem first field of the picked line, the name. cmd writes in the console's
rem OEM code page: /oemlist reads the names so, and /oemout writes the
rem answer back so for cmd to read.
rem /quote keeps a name starting with ";" from being taken for a comment
rem by for /f; %%~a below takes the quotes away again.
type "%lines%" | orlipan - "Pick a file" "$1" /tab /header=1 /quote /oemlist /oemout > "%answer%"
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
%OPEN_WITH% "!file!"
endlocal
goto clean

:failed
echo orlipan could not show the list.
:clean
del "%lines%" "%answer%" 2>nul
popd
:end
endlocal
