#!/usr/bin/env bash
# Runs a test kit the way a maintainer runs it on Windows: unpacked into a
# fresh folder, run-tests.cmd started through cmd.exe, the closing line read.
# Then checks the runner itself: with a program that fails on purpose it must
# count the failure and end with a non-zero exit code.
#
#   tests/run_kit.sh KIT_ZIP WORK_DIR SELFTEST_EXE
#
# The caller provides DISPLAY and WINEPREFIX (see build.sh); programs run
# through tests/wine-run.sh, so ORLIPAN_WINE_DESKTOP applies as for ctest.
# KIT_OUTSIDE_DESKTOP names test programs (without .exe) that ctest runs
# outside the Wine virtual desktop: with a desktop set they run first, named
# to run-tests.cmd, outside it; then they are set aside and run-tests.cmd
# runs all the others, as it finds them, inside it.
# Exits non-zero when the kit does not pass or the runner misses the failure.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 KIT_ZIP WORK_DIR SELFTEST_EXE" >&2
    exit 2
fi
ZIP=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
WORK=$2
SELFTEST=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
HERE=$(cd "$(dirname "$0")" && pwd)
CLOSING='^([0-9]+) passed, ([0-9]+) failed(, ([0-9]+) skipped)?$'

fail() {
    echo "run_kit: $*" >&2
    exit 1
}

# Runs run-tests.cmd in a folder; sets CODE (exit code) and LAST (closing
# line). The runner writes to standard output only. Standard error is kept
# apart and shown after it: Wine's own processes share it and can print there
# after the runner's closing line (seen once inside a Wine virtual desktop,
# as the session ended: "wine client error:11c: sendmsg: Bad file
# descriptor"), which is no line of the runner's.
run_cmd() {  # folder log [program...]
    local folder=$1 log=$2
    shift 2
    set +e
    (cd "$folder" && "$HERE/wine-run.sh" cmd.exe /c run-tests.cmd "$@") 2>"$log.stderr" |
        tr -d '\r' | tee "$log"
    CODE=${PIPESTATUS[0]}
    set -e
    if [ -s "$log.stderr" ]; then
        echo "run_kit: standard error of that run:"
        tr -d '\r' <"$log.stderr"
    fi
    LAST=$(grep -v '^[[:space:]]*$' "$log" | tail -1 || true)
}

rm -rf "$WORK"
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)
unzip -q "$ZIP" -d "$WORK/unpacked"
KIT=$(find "$WORK/unpacked" -mindepth 1 -maxdepth 1 -type d)
[ -f "$KIT/run-tests.cmd" ] || fail "no run-tests.cmd at the top of $(basename "$ZIP")"

# The kit's programs, and those in the summary lines ("  name.exe: N passed, ...") of a log.
mapfile -t PROGRAMS < <(find "$KIT" -maxdepth 1 \( -name '*_tests.exe' -o -name '*_e2e.exe' \) \
    -printf '%f\n' | sed 's/\.exe$//')
[ ${#PROGRAMS[@]} -gt 0 ] || fail "no test programs in $(basename "$ZIP")"
summarised() {  # log
    sed -n 's/^  \([A-Za-z0-9_]*\)\(\.exe\)\{0,1\}: [0-9]* passed.*/\1/p' "$1"
}

check_run() {  # what: the last run must have passed, results.txt must end with its count
    [[ $LAST =~ $CLOSING ]] || fail "$1: the last line is not its count: '$LAST'"
    local passed=${BASH_REMATCH[1]} failed=${BASH_REMATCH[2]}
    [ -f "$KIT/results.txt" ] || fail "$1: the kit wrote no results.txt"
    [ "$(tr -d '\r' <"$KIT/results.txt" | tail -1)" = "$LAST" ] ||
        fail "$1: results.txt does not end with the count"
    if [ "$CODE" != 0 ] || [ "$failed" != 0 ] || [ "$passed" = 0 ]; then
        fail "$1 did not pass: '$LAST', exit code $CODE"
    fi
    echo "run_kit: $1 passed: $LAST"
}

read -r -a OUTSIDE <<<"${KIT_OUTSIDE_DESKTOP:-}"
DESKTOP=${ORLIPAN_WINE_DESKTOP:-off}
: >"$WORK/outside.log"
if [ ${#OUTSIDE[@]} -gt 0 ] && [ "$DESKTOP" != off ]; then
    echo "run_kit: running run-tests.cmd ${OUTSIDE[*]} outside the Wine virtual desktop"
    ORLIPAN_WINE_DESKTOP=off run_cmd "$KIT" "$WORK/outside.log" "${OUTSIDE[@]}"
    check_run "the kit outside the desktop"
    mv "$KIT/results.txt" "$WORK/results-outside.txt"
    mkdir -p "$WORK/ran-outside"
    for program in "${OUTSIDE[@]}"; do
        mv "$KIT/$program.exe" "$WORK/ran-outside/"
    done
fi

echo "run_kit: running $(basename "$KIT")/run-tests.cmd through cmd.exe"
run_cmd "$KIT" "$WORK/kit.log"
check_run "the kit"
# Every program of the kit ran, once.
ran=$(cat <(summarised "$WORK/outside.log") <(summarised "$WORK/kit.log") | LC_ALL=C sort)
[ "$ran" = "$(printf '%s\n' "${PROGRAMS[@]}" | LC_ALL=C sort)" ] ||
    fail "the runs did not run each of the kit's ${#PROGRAMS[@]} programs once: ${ran//$'\n'/ }"

# The self-test runs the kit's own runner and batch file on the failing program.
SELF="$WORK/selftest"
mkdir -p "$SELF"
cp "$KIT/run-tests.cmd" "$KIT/test_runner.exe" "$SELFTEST" "$SELF/"
run_cmd "$SELF" "$WORK/selftest.log" "$(basename "$SELFTEST" .exe)" >/dev/null
[ "$LAST" = "1 passed, 1 failed" ] ||
    fail "self-test: the runner counted '$LAST' instead of '1 passed, 1 failed'"
[ "$CODE" != 0 ] || fail "self-test: the runner ended with 0 although a test failed"
echo "run_kit: self-test: the runner counted '$LAST' and ended with exit code $CODE"
