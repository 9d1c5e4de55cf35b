#!/usr/bin/env bash
# Runs the DPI suite (dpi_e2e.exe) with the display set to other densities,
# and, with SHOTS_DIR set, takes the manual's pictures at 144 DPI (150 %).
#
#   tests/dpi_cases.sh BIN_DIR BASE_PREFIX DPI...
#
# The density of a Wine display is a setting of its prefix, read when the
# prefix's wineserver starts, so every density gets a prefix of its own: a
# copy of BASE_PREFIX (hard links; the registry files, which Wine rewrites,
# are real copies) beside it, kept for the next run. The caller provides
# DISPLAY. Exits non-zero when a suite fails.
set -euo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 BIN_DIR BASE_PREFIX DPI..." >&2
    exit 2
fi
BIN=$(cd "$1" && pwd)
BASE=$(cd "$2" && pwd)
shift 2
HERE=$(cd "$(dirname "$0")" && pwd)
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Wine 8 takes the display density from the hardware profile's font key;
# Windows and later Wine versions read the user's desktop key, set too.
# DpiScalingVer stays unset: with it, Wine 8 leaves processes unaware unless
# their manifests say otherwise, but it refuses the per-monitor version 2
# that the tools' manifests declare first (as Windows 10 1703 and later
# honour it) and then leaves them unaware. Without it, Wine makes every
# process per-monitor aware.
set_density() {  # prefix dpi
    local prefix=$1 dpi=$2
    WINEPREFIX=$prefix wine reg add \
        'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    WINEPREFIX=$prefix wine reg add 'HKCU\Control Panel\Desktop' \
        /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    WINEPREFIX=$prefix wineserver -w
}

PREFIX=
use_prefix_for() {  # dpi: sets PREFIX to a prefix at that density
    local dpi=$1 prefix="$BASE-dpi$1"
    PREFIX=$prefix
    if [ "$(cat "$prefix/.orlipan-dpi" 2>/dev/null)" != "$dpi" ]; then
        rm -rf "$prefix"
        cp -al "$BASE" "$prefix"
        local f
        for f in "$BASE"/*.reg; do
            rm -f "$prefix/$(basename "$f")"
            cp "$f" "$prefix/"
        done
        set_density "$prefix" "$dpi"
        echo "$dpi" >"$prefix/.orlipan-dpi"
    fi
}

failed=0
for dpi in "$@"; do
    start=$SECONDS
    use_prefix_for "$dpi"
    prefix=$PREFIX
    echo "DPI $dpi ($((dpi * 100 / 96)) %):"
    if ! WINEPREFIX=$prefix ORLIPAN_EXPECT_DPI=$dpi \
        ORLIPAN_WINE_DESKTOP="${ORLIPAN_WINE_DESKTOP:-1280x1024}" \
        "$HERE/wine-run.sh" "$BIN/dpi_e2e.exe" --gtest_brief=1; then
        failed=1
    fi
    if [ "$dpi" = 144 ] && [ -n "${SHOTS_DIR:-}" ]; then
        WINEPREFIX=$prefix "$HERE/screenshots.sh" "$BIN" "$SHOTS_DIR" _150 || failed=1
    fi
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    echo "DPI $dpi done in $((SECONDS - start)) s"
done
exit "$failed"
