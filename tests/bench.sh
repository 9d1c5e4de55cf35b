#!/usr/bin/env bash
# Start-up time and memory of orlipan and vemo against two baselines, under Wine.
#
#   tests/bench.sh BIN_DIR
#
# BIN_DIR is a cross build's bin directory (orlipan.exe, vemo.exe, launch.exe,
# baseline_message_box.exe, baseline_list_view.exe). Each case is started the
# way a batch file starts a tool (a new console) by launch.exe, which reports
# the time from process start to the first visible window and the peak working
# set, then asks the window to close. Baselines in the same run: a program that
# only calls MessageBoxA (also once after the start-up every tool must make:
# common controls, console window), and a bare list view filled with the same
# lines with redrawing suspended. Figures are printed, never judged: this never fails
# because something was slow.
#
# orlipan's rows close the window with Escape, as a user does, and report the
# time from that key to the end of the process; its lists of a million lines
# are also read from a pipe and held against the 3-line list, and the peak
# working set against the memory allowed for the list (32 MiB + twice its size).
#
# Typing into the filter box (/filter) of the million-line list: launch.exe
# types a text key by key and times each key from outside, from the key to
# the narrowed list drawn (see launch.cpp); the first key filters all lines,
# later keys only the lines still shown. The peak working set after typing is
# held against the same allowance plus the filter's 4 bytes a line. A key
# typed into the box of a 3-line list shows what a key costs besides the
# filtering: the input, the box and the drawing.
#
# BENCH_RUNS (default 3) runs per small case and per typing case,
# BENCH_RUNS_LARGE (default 1) per list of 100,000 lines or more; the median is
# shown.
set -euo pipefail

BIN=$(cd "${1:?usage: bench.sh BIN_DIR}" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
RUNS=${BENCH_RUNS:-3}
RUNS_LARGE=${BENCH_RUNS_LARGE:-1}
WORK=$(mktemp -d /tmp/orlipan-bench.XXXXXX)
trap 'rm -rf "$WORK"' EXIT

for exe in orlipan vemo launch baseline_message_box baseline_list_view; do
    [ -f "$BIN/$exe.exe" ] || { echo "missing $BIN/$exe.exe" >&2; exit 1; }
done

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Lines of 25 characters plus CR LF: 27 bytes each.
make_list() {  # count, file
    awk -v n="$1" 'BEGIN { for (i = 1; i <= n; i++) printf "%-25s\r\n", "bench line " i }' >"$2"
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "n/a" }'; }

# Runs one case `runs` times; appends "label|time_ms|peak_kb|baseline|close_ms"
# to the results. LAUNCH_OPTIONS holds launch.exe options for the case.
RESULTS="$WORK/results"
: >"$RESULTS"
LAUNCH_OPTIONS=()
measure() {  # label, baseline label, runs, program, args...
    local label=$1 baseline=$2 runs=$3 program=$4
    shift 4
    local times="$WORK/times" peaks="$WORK/peaks" closes="$WORK/closes" out i
    : >"$times"
    : >"$peaks"
    : >"$closes"
    for ((i = 1; i <= runs; i++)); do
        out=$("$HERE/wine-run.sh" "$BIN/launch.exe" --measure --timeout 300000 \
            "${LAUNCH_OPTIONS[@]}" "$(windows_path "$BIN/$program")" "$@" 2>/dev/null | tr -d '\r')
        sed -n 's/^first_window_ms=\([0-9.]*\)$/\1/p' <<<"$out" >>"$times"
        sed -n 's/^peak_working_set_kb=\([0-9]*\)$/\1/p' <<<"$out" >>"$peaks"
        sed -n 's/^close_ms=\([0-9.]*\)$/\1/p' <<<"$out" >>"$closes"
        if ! grep -q '^first_window_ms=[0-9]' <<<"$out"; then
            echo "  $label: no window (${out//$'\n'/ })" >&2
        fi
    done
    local close
    close=$(median <"$closes")
    [ "$close" = n/a ] && close=$(sed -n 's/^close_ms=\(over_[0-9]*\)$/\1/p' <<<"$out")
    printf '%s|%s|%s|%s|%s\n' "$label" "$(median <"$times")" "$(median <"$peaks")" "$baseline" \
        "$close" >>"$RESULTS"
    printf '  %-34s %10s ms %10s KiB %12s ms to end\n' "$label" "$(median <"$times")" \
        "$(median <"$peaks")" "$close"
}

# Runs `orlipan LIST Bench ... /filter` and types TEXT; appends
# "label|first key ms|last key ms|slowest key ms|peak KiB|lines shown after each key".
TYPING="$WORK/typing"
: >"$TYPING"
measure_typing() {  # label, runs, text, list
    local label=$1 runs=$2 text=$3 list=$4 out keys shown="" i
    local firsts="$WORK/firsts" lasts="$WORK/lasts" slowest="$WORK/slowest" peaks="$WORK/tpeaks"
    : >"$firsts"
    : >"$lasts"
    : >"$slowest"
    : >"$peaks"
    for ((i = 1; i <= runs; i++)); do
        out=$("$HERE/wine-run.sh" "$BIN/launch.exe" --measure --escape --type "$text" \
            --timeout 300000 "$(windows_path "$BIN/orlipan.exe")" "$(windows_path "$list")" Bench \
            'set x=$item' /filter 2>/dev/null | tr -d '\r')
        keys=$(sed -n 's/^key_ms=\([0-9.]*\) .*/\1/p' <<<"$out")
        if [ -z "$keys" ]; then
            echo "  $label: no typing (${out//$'\n'/ })" >&2
            continue
        fi
        head -1 <<<"$keys" >>"$firsts"
        tail -1 <<<"$keys" >>"$lasts"
        sort -n <<<"$keys" | tail -1 >>"$slowest"
        sed -n 's/^typed_peak_working_set_kb=\([0-9]*\)$/\1/p' <<<"$out" >>"$peaks"
        shown=$(sed -n 's/^key_ms=.* shown=\([0-9]*\)$/\1/p' <<<"$out" | paste -sd' ')
    done
    printf '%s|%s|%s|%s|%s|%s\n' "$label" "$(median <"$firsts")" "$(median <"$lasts")" \
        "$(median <"$slowest")" "$(median <"$peaks")" "$shown" >>"$TYPING"
    printf '  %-34s first key %s ms, last key %s ms, slowest %s ms\n' "$label" \
        "$(median <"$firsts")" "$(median <"$lasts")" "$(median <"$slowest")"
}

echo "Benchmark: time to first visible window and peak working set (median of runs)"
measure "baseline MessageBoxA" "" "$RUNS" baseline_message_box.exe
# What every tool must do first (common controls, console window), then MessageBoxA.
measure "baseline MessageBoxA, tool start" "baseline MessageBoxA" "$RUNS" baseline_message_box.exe \
    --tool-start
measure "vemo default box" "baseline MessageBoxA" "$RUNS" vemo.exe Bench Hello OK
text=$(printf 'lorem ipsum %.0s' $(seq 1 167) | cut -c1-2000)
measure "vemo 10 buttons, 2000-char text" "baseline MessageBoxA" "$RUNS" vemo.exe Bench "$text" \
    "One;Two;Three;Four;Five;Six;Seven;Eight;Nine;Ten"
LIMITS="$WORK/limits"
: >"$LIMITS"
for n in 3 10000 100000 1000000 10000000; do
    list="$WORK/list_$n.txt"
    make_list "$n" "$list"
    runs=$RUNS
    [ "$n" -ge 100000 ] && runs=$RUNS_LARGE
    # A bare list view holding ten million lines would take the better part
    # of an hour to fill under Wine.
    if [ "$n" -le 1000000 ]; then
        LAUNCH_OPTIONS=()
        measure "baseline list view $n lines" "" "$runs" baseline_list_view.exe \
            "$(windows_path "$list")"
    fi
    LAUNCH_OPTIONS=(--escape)
    measure "orlipan $n lines" "baseline list view $n lines" "$runs" orlipan.exe \
        "$(windows_path "$list")" Bench 'set x=$item'
    # What a key costs with next to nothing to filter: input, box and drawing.
    [ "$n" = 3 ] && measure_typing 'type "e", 3 lines' "$RUNS" e "$list"
    if [ "$n" = 1000000 ]; then
        LAUNCH_OPTIONS=(--escape --pipe-in "$(windows_path "$list")")
        measure "orlipan $n lines, pipe" "orlipan 3 lines" "$runs" orlipan.exe - Bench 'set x=$item'
        printf '%s|%s\n' "orlipan $n lines" "$(($(stat -c %s "$list") * 2 / 1024 + 32768))" >>"$LIMITS"
        printf '%s|%s\n' "orlipan $n lines, pipe" "$(($(stat -c %s "$list") * 2 / 1024 + 32768))" \
            >>"$LIMITS"
        # Cheap next to loading the list, so as many runs as a small case.
        measure_typing 'type "e" (every line)' "$RUNS" e "$list"
        measure_typing 'type "99999" (19 lines)' "$RUNS" 99999 "$list"
        measure_typing 'type "x" (no line)' "$RUNS" x "$list"
        FILTER_LIMIT=$(($(stat -c %s "$list") * 2 / 1024 + 32768 + n * 4 / 1024))
    fi
    rm -f "$list"
done

echo
awk -F'|' '
    FILENAME == ARGV[1] { limit[$1] = $2; next }
    { label[NR] = $1; ms[NR] = $2; kb[NR] = $3; base[NR] = $4; to_end[NR] = $5; row[$1] = NR }
    function ratio(a, b) { return (a + 0 > 0 && b + 0 > 0) ? sprintf("%.2f", a / b) : "-" }
    function line(name, i, b) {
        printf "%-34s %12s %12s %12s %10s %10s  %s\n", name, ms[i], kb[i], to_end[i],
            b ? ratio(ms[i], ms[b]) : "", b ? ratio(kb[i], kb[b]) : "", b ? label[b] : ""
    }
    END {
        printf "%-34s %12s %12s %12s %10s %10s  %s\n", "case", "window ms", "peak KiB", "to end ms",
            "time x", "memory x", "vs"
        for (i = 1; i <= NR; i++)
            if (label[i] != "")
                line(label[i], i, row[base[i]])
        # The small pick window is also held against a plain message box, and
        # the large ones against the small one.
        s = row["orlipan 3 lines"]
        if (s && row["baseline MessageBoxA"])
            line("orlipan 3 lines", s, row["baseline MessageBoxA"])
        for (n in row)
            if (n ~ /^orlipan (1000000|10000000) lines$/)
                line(n, row[n], s)
        print ""
        for (n in limit)
            if (row[n])
                printf "%-34s peak %s KiB, allowed %s KiB (32 MiB + 2 x the list)\n", n, kb[row[n]],
                    limit[n]
    }' "$LIMITS" "$RESULTS"

echo
echo "Typing into the filter box of 1,000,000 lines (and of 3): ms from a key to the list drawn"
echo "(median of runs; target 100 ms a key), and the peak working set after typing"
awk -F'|' -v limit="${FILTER_LIMIT:-}" '
    BEGIN { printf "%-26s %10s %10s %10s %14s\n", "case", "first key", "last key", "slowest", "peak" }
    { printf "%-26s %10s %10s %10s %10s KiB  shown after each key: %s\n", $1, $2, $3, $4, $5, $6 }
    END {
        if (limit != "")
            printf "allowed with /filter: %s KiB (32 MiB + 2 x the list + 4 bytes a line)\n", limit
    }' "$TYPING"
