@echo off
rem Lists the files of a folder through a pipe, lets the user pick one and
rem copies what the picked file holds into result.txt.
rem Argument: the directory to work in; its folder "files" holds the files.
setlocal
cd /d "%~1"
dir /b /on files | "%~dp0orlipan.exe" - "Pick a file" "$item" > picked.txt
if errorlevel 1 goto picked
> result.txt echo cancelled
goto end
:picked
rem The answer has no line ending; for /f reads such a last line whole.
for /f "usebackq delims=" %%f in ("picked.txt") do set "picked=%%f"
type "files\%picked%" > result.txt
:end
endlocal
