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
# BENCH_RUNS (default 3) runs per small case, BENCH_RUNS_LARGE (default 1) per
# list of 100,000 lines or more; the median is shown.
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

# Runs one case `runs` times; appends "label|time_ms|peak_kb|baseline" to the results.
RESULTS="$WORK/results"
: >"$RESULTS"
measure() {  # label, baseline label, runs, program, args...
    local label=$1 baseline=$2 runs=$3 program=$4
    shift 4
    local times="$WORK/times" peaks="$WORK/peaks" out i
    : >"$times"
    : >"$peaks"
    for ((i = 1; i <= runs; i++)); do
        out=$("$HERE/wine-run.sh" "$BIN/launch.exe" --measure --timeout 300000 \
            "$(windows_path "$BIN/$program")" "$@" 2>/dev/null | tr -d '\r')
        sed -n 's/^first_window_ms=\([0-9.]*\)$/\1/p' <<<"$out" >>"$times"
        sed -n 's/^peak_working_set_kb=\([0-9]*\)$/\1/p' <<<"$out" >>"$peaks"
        if ! grep -q '^first_window_ms=[0-9]' <<<"$out"; then
            echo "  $label: no window (${out//$'\n'/ })" >&2
        fi
    done
    printf '%s|%s|%s|%s\n' "$label" "$(median <"$times")" "$(median <"$peaks")" "$baseline" \
        >>"$RESULTS"
    printf '  %-34s %10s ms %10s KiB\n' "$label" "$(median <"$times")" "$(median <"$peaks")"
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
for n in 3 10000 100000 1000000; do
    list="$WORK/list_$n.txt"
    make_list "$n" "$list"
    runs=$RUNS
    [ "$n" -ge 100000 ] && runs=$RUNS_LARGE
    measure "baseline list view $n lines" "" "$runs" baseline_list_view.exe "$(windows_path "$list")"
    measure "orlipan $n lines" "baseline list view $n lines" "$runs" orlipan.exe \
        "$(windows_path "$list")" Bench 'set x=$item'
    rm -f "$list"
done

echo
awk -F'|' '
    { label[NR] = $1; ms[NR] = $2; kb[NR] = $3; base[NR] = $4; row[$1] = NR }
    function ratio(a, b) { return (a + 0 > 0 && b + 0 > 0) ? sprintf("%.2f", a / b) : "-" }
    END {
        printf "%-34s %12s %12s %10s %10s  %s\n", "case", "window ms", "peak KiB", "time x", "memory x", "vs"
        for (i = 1; i <= NR; i++) {
            b = row[base[i]]
            printf "%-34s %12s %12s %10s %10s  %s\n", label[i], ms[i], kb[i],
                b ? ratio(ms[i], ms[b]) : "", b ? ratio(kb[i], kb[b]) : "", base[i]
        }
        # The small pick window is also held against a plain message box.
        s = row["orlipan 3 lines"]; m = row["baseline MessageBoxA"]
        if (s && m)
            printf "%-34s %12s %12s %10s %10s  %s\n", "orlipan 3 lines", ms[s], kb[s],
                ratio(ms[s], ms[m]), ratio(kb[s], kb[m]), "baseline MessageBoxA"
    }' "$RESULTS"
