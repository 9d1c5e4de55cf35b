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
# Exits non-zero, saying why, when the window does not appear or the answer
# read back is not the one the tool promises.
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

fail() {
    echo "demo: $*" >&2
    exit 1
}

if [ "$HEADLESS" = 1 ]; then
    "${LAUNCH[@]}" --ready "$(windows_path "$READY")" --go "$(windows_path "$GO")" \
        --timeout $((WAIT_SECONDS * 1000)) "${TOOL[@]}" >"$OUT/launch.log" 2>&1 &
    LAUNCHER=$!
    for ((i = 0; i < WAIT_SECONDS * 10; i++)); do
        [ -f "$READY" ] && break
        kill -0 "$LAUNCHER" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -f "$READY" ]; then
        kill "$LAUNCHER" 2>/dev/null || true
        wait "$LAUNCHER" 2>/dev/null || true
        tr -d '\r' <"$OUT/launch.log" >&2 || true
        fail "the pick window did not appear within $WAIT_SECONDS s"
    fi
    # The window is visible; give it a moment to finish painting.
    sleep 0.5
    import -window root "$OUT/demo.png"
    echo "screenshot: $OUT/demo.png"
    touch "$GO"
    wait "$LAUNCHER" || true
    RESULT=$(tr -d '\r' <"$OUT/launch.log")
else
    RESULT=$("${LAUNCH[@]}" "${TOOL[@]}" 2>&1 | tr -d '\r') || true
fi

LAST=${RESULT##*$'\n'}
echo "$LAST"
OUTPUT=$(cat "$OUT/output.txt" 2>/dev/null || true)
echo "output: $OUTPUT"

# The answer read back must be the one the tool promises: Escape (the headless
# run) gives exit code 0 and no output; a picked line N gives N and the
# template filled in with line N of the list.
[[ $LAST =~ ^exit_code=([0-9]+)$ ]] || {
    echo "$RESULT" >&2
    fail "the tool did not end with an exit code (launcher said '$LAST')"
}
CODE=${BASH_REMATCH[1]}
if [ "$CODE" = 0 ]; then
    EXPECTED=
else
    EXPECTED="set colour=$(sed -n "${CODE}p" "$LIST" | tr -d '\r')"
fi
if [ "$HEADLESS" = 1 ] && [ "$CODE" != 0 ]; then
    fail "Escape was pressed, but the exit code is $CODE instead of 0"
fi
[ "$OUTPUT" = "$EXPECTED" ] ||
    fail "exit code $CODE, so the output should be '$EXPECTED', but it is '$OUTPUT'"
echo "demo: the answer is as expected"
