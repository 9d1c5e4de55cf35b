@echo off
rem Lists a folder of files named in several scripts through a pipe in the
rem UTF-8 code page, lets the user pick one and copies what the picked file
rem holds into result.txt.
rem Argument: the directory to work in; its folder "files" holds the files.
setlocal
chcp 65001 > nul
cd /d "%~1"
dir /b /on files | "%~dp0orlipan.exe" - "Pick a file by its name" "$item" /utf8 > picked.txt
if errorlevel 1 goto picked
> result.txt echo cancelled
goto end
:picked
rem The answer has no line ending; for /f reads such a last line whole, in
rem the console's code page, which is now UTF-8.
for /f "usebackq delims=" %%f in ("picked.txt") do set "picked=%%f"
type "files\%picked%" > result.txt
:end
endlocal
