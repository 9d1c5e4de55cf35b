@echo off
rem Lets the user pick several files of a folder, copies each picked file into
rem the folder "chosen" and writes how many and which into result.txt.
rem Argument: the directory to work in; its folder "files" holds the files.
setlocal
cd /d "%~1"
dir /b /on files | "%~dp0orlipan.exe" - "Pick files" "$item" /multi /filter > picked.txt
if errorlevel 1 goto picked
> result.txt echo cancelled
goto end
:picked
> result.txt echo %errorlevel% files
md chosen
rem One picked file per line; for /f also reads the last line, which has no
rem line ending, whole.
for /f "usebackq delims=" %%f in ("picked.txt") do (
    copy "files\%%f" chosen > nul
    >> result.txt echo %%f
)
:end
endlocal
