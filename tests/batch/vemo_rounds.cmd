@echo off
rem Asks again until the user stops, then reports the number of rounds.
set rounds=0
:again
set /a rounds+=1
vemo.exe "Batch loop" "Round %rounds%: go again?" "Again;Stop" /DB=1
if errorlevel 2 goto stopped
if errorlevel 1 goto again
> "%~1" echo escaped after %rounds%
exit /b 0
:stopped
> "%~1" echo stopped after %rounds%
exit /b %rounds%
