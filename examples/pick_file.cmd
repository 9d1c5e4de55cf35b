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
if not exist "%folder%\*.txt" (
    echo There are no text files in %folder%.
    goto end
)
set "list=%TEMP%\pick_file_%RANDOM%.txt"
set "answer=%TEMP%\pick_file_%RANDOM%.cmd"

dir /b /a-d /on "%folder%\*.txt" > "%list%"
rem Two apostrophes stand for a double quote: the answer file holds
rem   set "file=<picked line>"
rem which keeps names with spaces or ampersands in one piece. dir writes
rem and cmd reads batch files in the console's OEM code page, hence
rem /oemlist and /oemout for names with accented letters.
orlipan "%list%" "Pick a file" "set ''file=$item''" /oemlist /oemout > "%answer%"
if errorlevel 1 goto picked
echo Nothing was picked.
goto clean

:picked
call "%answer%"
echo Opening "%file%"
%OPEN_WITH% "%folder%\%file%"

:clean
del "%list%" "%answer%" 2>nul
:end
endlocal
