#!/usr/bin/env bash
# Shows orlipan on the example colour list.
#
#   tests/demo.sh BIN_DIR HEADLESS OUT_DIR
#
# The tool is started in a console of its own, as from a batch file, by
# launch.exe, with its standard output in OUT_DIR/output.txt.
# HEADLESS=1: waits for the pick window, saves a screenshot of the display to
# OUT_DIR/demo.png, closes the window with Escape and prints the result.
# HEADLESS=0: the user picks a colour; then the result is printed.
set -euo pipefail

BIN=$(cd "${1:?usage: demo.sh BIN_DIR HEADLESS OUT_DIR}" && pwd)
HEADLESS=${2:?usage: demo.sh BIN_DIR HEADLESS OUT_DIR}
mkdir -p "${3:?usage: demo.sh BIN_DIR HEADLESS OUT_DIR}"
OUT=$(cd "$3" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
WAIT_SECONDS=${DEMO_WAIT_SECONDS:-60}

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

LIST="$HERE/../examples/colours.txt"
if [ ! -f "$LIST" ]; then
    LIST="$OUT/colours.txt"
    printf 'Red\r\nGreen\r\nBlue\r\nYellow\r\nBlack\r\n' >"$LIST"
fi
LIST=$(cd "$(dirname "$LIST")" && pwd)/$(basename "$LIST")

READY="$OUT/window.ready"
GO="$OUT/window.go"
rm -f "$READY" "$GO" "$OUT/output.txt" "$OUT/demo.png"

LAUNCH=("$HERE/wine-run.sh" "$BIN/launch.exe" --out "$(windows_path "$OUT/output.txt")")
TOOL=("$(windows_path "$BIN/orlipan.exe")" "$(windows_path "$LIST")" "Pick a colour"
      'set colour=$item')

if [ "$HEADLESS" = 1 ]; then
    "${LAUNCH[@]}" --ready "$(windows_path "$READY")" --go "$(windows_path "$GO")" \
        --timeout $((WAIT_SECONDS * 1000)) "${TOOL[@]}" >"$OUT/launch.log" 2>&1 &
    LAUNCHER=$!
    for ((i = 0; i < WAIT_SECONDS * 10; i++)); do
        [ -f "$READY" ] && break
        kill -0 "$LAUNCHER" 2>/dev/null || break
        sleep 0.1
    done
    if [ -f "$READY" ]; then
        # The window is visible; give it a moment to finish painting.
        sleep 0.5
        import -window root "$OUT/demo.png"
        echo "screenshot: $OUT/demo.png"
    else
        echo "the pick window did not appear" >&2
    fi
    touch "$GO"
    wait "$LAUNCHER" || true
    RESULT=$(tr -d '\r' <"$OUT/launch.log")
else
    RESULT=$("${LAUNCH[@]}" "${TOOL[@]}" 2>&1 | tr -d '\r')
fi

echo "${RESULT##*$'\n'}"
printf 'output: '
cat "$OUT/output.txt" 2>/dev/null || true
echo
