@echo off
rem Asks one question and goes the way the answer says.
vemo.exe "Batch question" "Keep the changes?" "Yes;No;Cancel"
if errorlevel 255 goto broken
if errorlevel 3 goto cancelled
if errorlevel 2 goto declined
if errorlevel 1 goto accepted
echo escaped> "%~1"
exit /b 10
:accepted
echo accepted> "%~1"
exit /b 11
:declined
echo declined> "%~1"
exit /b 12
:cancelled
echo cancelled> "%~1"
exit /b 13
:broken
echo broken> "%~1"
exit /b 20
