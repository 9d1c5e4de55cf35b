#!/usr/bin/env bash
# Runs a Windows test program under Wine for ctest (CMAKE_CROSSCOMPILING_EMULATOR).
# build.sh exports WINEPREFIX and DISPLAY; the defaults let ctest run on its own.
#
# ORLIPAN_WINE_DESKTOP=WIDTHxHEIGHT (e.g. 1280x1024) runs every program inside
# a Wine virtual desktop of that size; "off" switches it off again; unset leaves
# the prefix as it is. Without a window manager, hiding or destroying a shown
# window takes about two seconds under Wine; inside a virtual desktop it takes
# milliseconds. The desktop is chosen in the prefix's registry rather than with
# `wine explorer /desktop=...`, which would swallow the program's exit code.
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-orlipan}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

apply_desktop() {  # WIDTHxHEIGHT | off
    local wanted=$1 marker="$WINEPREFIX/.orlipan-desktop"
    [ "$(cat "$marker" 2>/dev/null)" = "$wanted" ] && return 0
    if [ "$wanted" = off ]; then
        wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
    else
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$wanted" /f \
            >/dev/null 2>&1
    fi
    # The desktop of a running Wine session keeps its mode until the session ends.
    wineserver -w
    echo "$wanted" >"$marker"
}

if [ -n "${ORLIPAN_WINE_DESKTOP:-}" ]; then
    apply_desktop "$ORLIPAN_WINE_DESKTOP"
fi
exec wine "$@"
