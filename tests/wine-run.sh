#!/usr/bin/env bash
# Runs a Windows test program under Wine for ctest (CMAKE_CROSSCOMPILING_EMULATOR).
# build.sh exports WINEPREFIX and DISPLAY; the defaults let ctest run on its own.
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-orlipan}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
