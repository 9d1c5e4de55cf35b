@echo off
rem A small launcher menu. In menu mode one click runs an entry, and the
rem blank lines of the list are separators that cannot be picked.
rem The exit code of orlipan is the number of the picked line (blank lines
rem count too), so every entry has a label named after its line number.
setlocal
rem The tools are found on PATH, next to this file or one folder up.
set "PATH=%~dp0;%~dp0..;%PATH%"
set "menu=%TEMP%\menu_%RANDOM%.txt"
rem One redirection per line: no blank is left at the ends of the lines.
echo Say hello>"%menu%"
echo Show the Windows version>>"%menu%"
echo.>>"%menu%"
echo List this folder>>"%menu%"
echo.>>"%menu%"
echo Quit>>"%menu%"

orlipan "%menu%" "Launcher" /menu
rem 0: the menu was closed or left with Escape; 255: no console window.
goto line%errorlevel%

:line1
echo Hello from the launcher.
goto end
:line2
ver
goto end
:line4
dir /b
goto end
:line6
:line0
echo Bye.
goto end
:line255
echo orlipan could not show the menu.
:end
del "%menu%" 2>nul
endlocal
