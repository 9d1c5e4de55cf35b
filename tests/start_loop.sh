#!/usr/bin/env bash
# Starts each tool many times, as a batch file does (a console of its own, by
# launch.exe), and counts the starts that end without ever showing a window.
# Every start runs with a light Wine trace (process and thread life,
# exceptions, loaded modules, errors); a failing start's trace and exit code
# are kept in WORK_DIR. Meant to be run under load (both cores busy), where
# rare start-up faults show.
#
#   tests/start_loop.sh BIN_DIR WORK_DIR COUNT
#
# The caller provides DISPLAY and WINEPREFIX (see build.sh). Exits non-zero
# when any start showed no window.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 BIN_DIR WORK_DIR COUNT" >&2
    exit 2
fi
BIN=$(cd "$1" && pwd)
mkdir -p "$2"
WORK=$(cd "$2" && pwd)
COUNT=$3
HERE=$(cd "$(dirname "$0")" && pwd)
export ORLIPAN_WINE_DESKTOP="${ORLIPAN_WINE_DESKTOP:-1280x1024}"
export WINEDEBUG=${START_LOOP_TRACE:-+process,+seh,+loaddll,err+all}

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
printf 'Red\r\nGreen\r\nBlue\r\n' >"$WORK/list.txt"
LIST=$(windows_path "$WORK/list.txt")
declare -A COMMAND=(
    [orlipan]="$(windows_path "$BIN/orlipan.exe") $LIST Pick \$item"
    [vemo]="$(windows_path "$BIN/vemo.exe") Title Text A;B"
)

failures=0
start_once() {  # tool log
    # shellcheck disable=SC2086
    "$HERE/wine-run.sh" "$BIN/launch.exe" --measure --escape --timeout 60000 \
        ${COMMAND[$1]} >"$2" 2>&1 || true
}
for tool in orlipan vemo; do
    shown=0
    for ((i = 1; i <= COUNT; i++)); do
        log="$WORK/$tool-$i.log"
        start_once "$tool" "$log"
        if grep -q '^first_window_ms=[0-9]' "$log"; then
            shown=$((shown + 1))
            rm -f "$log"
            continue
        fi
        failures=$((failures + 1))
        echo "start $i of $tool showed no window: $(grep -a -E '^(exit_code|first_window)' "$log" |
            tr -d '\r' | tr '\n' ' ')(trace: $log)"
    done
    echo "$tool: $shown of $COUNT starts showed their window"
done
exit $((failures > 0))
