@echo off
rem Runs the Windows-side tests of orlipan and vemo against the tools in this
rem folder: every *_tests.exe and *_e2e.exe here, or only the programs named on
rem the command line (run-tests.cmd orlipan_e2e vemo_e2e). Shows each program's
rem summary, writes results.txt here and ends with "N passed, N failed"; the
rem exit code is 0 only when every test passed.
rem Run it from a console in a desktop session and leave the mouse and the
rem keyboard alone until it ends: the tests type and click in real windows.
setlocal
"%~dp0test_runner.exe" %*
exit /b %ERRORLEVEL%
