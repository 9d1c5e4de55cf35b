@echo off
rem Asks for a name and greets it; no answer leaves the name empty.
set name=
for /f "delims=" %%a in ('vemo.exe "Batch name" "Your name?" "OK;Cancel" /IN') do set name=%%a
echo Hello, %name%!> "%~1"
