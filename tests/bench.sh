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
# Columns (/tab): the million lines again, each of five tab-separated fields
# (one of them a number with thousands commas) and about as long as the plain
# ones, held against the plain list, and its peak working set against the
# same allowance. Then the same lines under a header line (/tab /header=1):
# launch.exe clicks the header of the number column twice, as a user does,
# and times each click from outside until the list's first row shows the
# line that must come first, ascending and then descending (see
# header_click_win32.h).
#
# Reading while showing: a pipe that writes the 3 lines and stays open
# until the tool ends (a window that waits for the end gets 5 s, then "no
# window"), held against the 3-line list; the lists of a million lines and
# more, from a file and from a pipe, also closed with Enter as soon as the
# window shows; ten million lines (about 270 MB) from a file, timed until
# the title no longer says it is reading (the list read whole), its peak
# working set held against the file's size + 64 MiB, and from a pipe written
# at full speed, closed with Escape or Enter as soon as the window shows,
# while the tool still reads. The large lists' peaks, typing and sorting
# wait for the list read whole. A last table holds each target against its
# limit: informational, like every figure here.
#
# BENCH_RUNS (default 3) runs per small case, per typing case and per sorting
# case, BENCH_RUNS_LARGE (default 1) per list of 100,000 lines or more; the
# median is shown. BENCH_CASES, an extended regular expression, runs only the
# cases whose labels it matches (default: every case); name a case's baseline
# too to see the ratio, e.g. BENCH_CASES='^orlipan 1000000 lines|^sort'.
set -euo pipefail

BIN=$(cd "${1:?usage: bench.sh BIN_DIR}" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
RUNS=${BENCH_RUNS:-3}
RUNS_LARGE=${BENCH_RUNS_LARGE:-1}
CASES=${BENCH_CASES:-}
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

# Lines of five tab-separated fields: a name, a number with thousands commas
# (a permutation of the line numbers, so that sorting by it moves every line,
# and all above 5,000, so that as text "1,000,..." would come first), a
# group, a date and a flag; 28 bytes a line on average. The names of the
# lines with the smallest and the largest number are written to FILE.ends.
make_tab_list() {  # count, file, header line (tabs written as \t) or ""
    awk -v n="$1" -v header="$3" -v ends="$2.ends" '
        function commas(v, s) {
            for (s = ""; v >= 1000; v = int(v / 1000))
                s = sprintf(",%03d", v % 1000) s
            return v s
        }
        BEGIN {
            if (header != "")
                printf "%s\r\n", header
            for (i = 1; i <= n; i++) {
                v = (i * 7919) % 1000003 + 5000
                name = sprintf("r%06d", i)
                if (i == 1 || v < low) { low = v; low_name = name }
                if (i == 1 || v > high) { high = v; high_name = name }
                printf "%s\t%s\tg%d\t%02d-%02d\t%s\r\n", name, commas(v), i % 10, i % 12 + 1,
                    i % 28 + 1, i % 3 ? "y" : "n"
            }
            print low_name, high_name >ends
        }' >"$2"
}

# Whether BENCH_CASES asks for the case labelled $1.
wanted() { [ -z "$CASES" ] || grep -Eq -- "$CASES" <<<"$1"; }

# Whether any case of ten million lines is to run.
huge_wanted() {
    local label
    for label in "" ", Enter" ", pipe" ", pipe, Enter"; do
        wanted "orlipan 10000000 lines$label" && return 0
    done
    return 1
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "n/a" }'; }

# Runs one case `runs` times; appends "label|time_ms|peak_kb|baseline|close_ms|complete_ms"
# to the results ("no window" for the time when no run showed one).
# LAUNCH_OPTIONS holds launch.exe options for the case.
RESULTS="$WORK/results"
: >"$RESULTS"
LAUNCH_OPTIONS=()
measure() {  # label, baseline label, runs, program, args...
    local label=$1 baseline=$2 runs=$3 program=$4
    shift 4
    wanted "$label" || return 0
    local times="$WORK/times" peaks="$WORK/peaks" closes="$WORK/closes" out i
    local completes="$WORK/completes"
    : >"$times"
    : >"$peaks"
    : >"$closes"
    : >"$completes"
    for ((i = 1; i <= runs; i++)); do
        out=$("$HERE/wine-run.sh" "$BIN/launch.exe" --measure --timeout 300000 \
            "${LAUNCH_OPTIONS[@]}" "$(windows_path "$BIN/$program")" "$@" 2>/dev/null | tr -d '\r')
        sed -n 's/^first_window_ms=\([0-9.]*\)$/\1/p' <<<"$out" >>"$times"
        sed -n 's/^peak_working_set_kb=\([0-9]*\)$/\1/p' <<<"$out" >>"$peaks"
        sed -n 's/^close_ms=\([0-9.]*\)$/\1/p' <<<"$out" >>"$closes"
        sed -n 's/^complete_ms=\([0-9.]*\)$/\1/p' <<<"$out" >>"$completes"
        if ! grep -q '^first_window_ms=[0-9]' <<<"$out"; then
            echo "  $label: no window (${out//$'\n'/ })" >&2
        fi
    done
    local close time complete="" also="" items
    close=$(median <"$closes")
    [ "$close" = n/a ] && close=$(sed -n 's/^close_ms=\(over_[0-9]*\)$/\1/p' <<<"$out")
    time=$(median <"$times")
    [ "$time" = n/a ] && time="no window"
    if grep -q '^complete_ms=' <<<"$out"; then
        complete=$(median <"$completes")
        items=$(sed -n 's/^complete_items=//p' <<<"$out")
        also=", list read whole at $complete ms${items:+ ($items lines)}"
    fi
    printf '%s|%s|%s|%s|%s|%s\n' "$label" "$time" "$(median <"$peaks")" "$baseline" "$close" \
        "$complete" >>"$RESULTS"
    if [ "$time" = "no window" ]; then
        printf '  %-36s %13s\n' "$label" "no window"
    else
        printf '  %-36s %10s ms %10s KiB %12s ms to end%s\n' "$label" "$time" \
            "$(median <"$peaks")" "$close" "$also"
    fi
}

# Runs `orlipan LIST Bench ... /filter` and types TEXT; appends
# "label|first key ms|last key ms|slowest key ms|peak KiB|lines shown after each key".
TYPING="$WORK/typing"
: >"$TYPING"
measure_typing() {  # label, runs, text, list
    local label=$1 runs=$2 text=$3 list=$4 out keys shown="" i
    wanted "$label" || return 0
    local firsts="$WORK/firsts" lasts="$WORK/lasts" slowest="$WORK/slowest" peaks="$WORK/tpeaks"
    : >"$firsts"
    : >"$lasts"
    : >"$slowest"
    : >"$peaks"
    for ((i = 1; i <= runs; i++)); do
        out=$("$HERE/wine-run.sh" "$BIN/launch.exe" --measure --escape --type "$text" \
            --complete-title Bench --timeout 300000 "$(windows_path "$BIN/orlipan.exe")" \
            "$(windows_path "$list")" Bench 'set x=$item' /filter 2>/dev/null | tr -d '\r')
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

# Runs `orlipan LIST Bench 'set x=$1' /tab /header=1` and clicks the header of
# its number column twice; appends "label|ascending ms|descending ms|window
# ms|peak KiB after sorting".
SORTS="$WORK/sorts"
: >"$SORTS"
measure_sort() {  # label, runs, list, name first ascending, name first descending
    local label=$1 runs=$2 list=$3 low=$4 high=$5 out i
    local ups="$WORK/ups" downs="$WORK/downs" windows="$WORK/swindows" peaks="$WORK/speaks"
    wanted "$label" || return 0
    : >"$ups"
    : >"$downs"
    : >"$windows"
    : >"$peaks"
    for ((i = 1; i <= runs; i++)); do
        out=$("$HERE/wine-run.sh" "$BIN/launch.exe" --measure --escape --click-header 1 \
            --complete-title Bench --expect "$low" --expect "$high" --timeout 300000 \
            "$(windows_path "$BIN/orlipan.exe")" \
            "$(windows_path "$list")" Bench 'set x=$1' /tab /header=1 2>/dev/null | tr -d '\r')
        sed -n 's/^sort_ms=\([0-9.]*\) click=1 .*/\1/p' <<<"$out" >>"$ups"
        sed -n 's/^sort_ms=\([0-9.]*\) click=2 .*/\1/p' <<<"$out" >>"$downs"
        sed -n 's/^first_window_ms=\([0-9.]*\)$/\1/p' <<<"$out" >>"$windows"
        sed -n 's/^sorted_peak_working_set_kb=\([0-9]*\)$/\1/p' <<<"$out" >>"$peaks"
        if [ "$(grep -c '^sort_ms=[0-9]' <<<"$out")" != 2 ]; then
            echo "  $label: not sorted as expected (${out//$'\n'/ })" >&2
        fi
    done
    printf '%s|%s|%s|%s|%s\n' "$label" "$(median <"$ups")" "$(median <"$downs")" \
        "$(median <"$windows")" "$(median <"$peaks")" >>"$SORTS"
    printf '  %-36s ascending %s ms, descending %s ms\n' "$label" "$(median <"$ups")" \
        "$(median <"$downs")"
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
    # Ten million lines take a while to write: only for the cases that read them.
    [ "$n" != 10000000 ] || huge_wanted || continue
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
    # Large lists: the peak and Escape once the title says the list is whole.
    [ "$n" -ge 1000000 ] && LAUNCH_OPTIONS+=(--complete-title Bench)
    measure "orlipan $n lines" "baseline list view $n lines" "$runs" orlipan.exe \
        "$(windows_path "$list")" Bench 'set x=$item'
    if [ "$n" = 3 ]; then
        # What a key costs with next to nothing to filter: input, box and drawing.
        measure_typing 'type "e", 3 lines' "$RUNS" e "$list"
        # A writer that said its lines and keeps its pipe open: a window that
        # waited for the end would never come, so 5 s is all it gets.
        held=(--pipe-in "$(windows_path "$list")" --pipe-hold --timeout 5000)
        LAUNCH_OPTIONS=(--escape "${held[@]}")
        measure "orlipan 3 lines, pipe held open" "orlipan 3 lines" "$RUNS" orlipan.exe - Bench \
            'set x=$item'
        LAUNCH_OPTIONS=(--enter "${held[@]}")
        measure "orlipan 3 lines, held pipe, Enter" "orlipan 3 lines" "$RUNS" orlipan.exe - Bench \
            'set x=$item'
        LAUNCH_OPTIONS=(--enter)
        measure "orlipan 3 lines, Enter" "" "$RUNS" orlipan.exe "$(windows_path "$list")" Bench \
            'set x=$item'
    fi
    if [ "$n" = 1000000 ]; then
        LAUNCH_OPTIONS=(--escape --pipe-in "$(windows_path "$list")" --complete-title Bench)
        measure "orlipan $n lines, pipe" "orlipan 3 lines" "$runs" orlipan.exe - Bench 'set x=$item'
        printf '%s|%s\n' "orlipan $n lines" "$(($(stat -c %s "$list") * 2 / 1024 + 32768))" >>"$LIMITS"
        printf '%s|%s\n' "orlipan $n lines, pipe" "$(($(stat -c %s "$list") * 2 / 1024 + 32768))" \
            >>"$LIMITS"
        # Cheap next to loading the list, so as many runs as a small case.
        measure_typing 'type "e" (every line)' "$RUNS" e "$list"
        measure_typing 'type "99999" (19 lines)' "$RUNS" 99999 "$list"
        measure_typing 'type "x" (no line)' "$RUNS" x "$list"
        FILTER_LIMIT=$(($(stat -c %s "$list") * 2 / 1024 + 32768 + n * 4 / 1024))
        tabs="$WORK/tabs_$n.txt"
        if wanted "orlipan $n lines, 5 tab fields"; then
            make_tab_list "$n" "$tabs" ""
            LAUNCH_OPTIONS=(--escape --complete-title Bench)
            measure "orlipan $n lines, 5 tab fields" "orlipan $n lines" "$runs" orlipan.exe \
                "$(windows_path "$tabs")" Bench 'set x=$1' /tab
            printf '%s|%s\n' "orlipan $n lines, 5 tab fields" \
                "$(($(stat -c %s "$tabs") * 2 / 1024 + 32768))" >>"$LIMITS"
        fi
        if wanted "sort $n lines by a number column"; then
            make_tab_list "$n" "$tabs" 'name\tsize\tgroup\tdate\tflag'
            read -r low high <"$tabs.ends"
            measure_sort "sort $n lines by a number column" "$RUNS" "$tabs" "$low" "$high"
        fi
        rm -f "$tabs" "$tabs.ends"
    fi
    if [ "$n" -ge 1000000 ]; then
        # Enter at once, while a list that shows early is still being read.
        LAUNCH_OPTIONS=(--enter)
        measure "orlipan $n lines, Enter" "" "$runs" orlipan.exe "$(windows_path "$list")" Bench \
            'set x=$item'
    fi
    if [ "$n" = 10000000 ]; then
        HUGE_LIMIT=$(($(stat -c %s "$list") / 1024 + 65536))
        # The pipe written at full speed, Escape or Enter as soon as the window shows.
        LAUNCH_OPTIONS=(--escape --pipe-in "$(windows_path "$list")")
        measure "orlipan $n lines, pipe" "orlipan 3 lines" "$runs" orlipan.exe - Bench 'set x=$item'
        LAUNCH_OPTIONS=(--enter --pipe-in "$(windows_path "$list")")
        measure "orlipan $n lines, pipe, Enter" "" "$runs" orlipan.exe - Bench 'set x=$item'
    fi
    rm -f "$list"
done

if [ -s "$RESULTS" ]; then
    echo
    awk -F'|' '
        FILENAME == ARGV[1] { limit[$1] = $2; next }
        { label[NR] = $1; ms[NR] = $2; kb[NR] = $3; base[NR] = $4; to_end[NR] = $5; row[$1] = NR }
        function ratio(a, b) { return (a + 0 > 0 && b + 0 > 0) ? sprintf("%.2f", a / b) : "-" }
        function line(name, i, b) {
            printf "%-36s %12s %12s %12s %10s %10s  %s\n", name, ms[i], kb[i], to_end[i],
                b ? ratio(ms[i], ms[b]) : "", b ? ratio(kb[i], kb[b]) : "", b ? label[b] : ""
        }
        END {
            printf "%-36s %12s %12s %12s %10s %10s  %s\n", "case", "window ms", "peak KiB", "to end ms",
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
                    printf "%-36s peak %s KiB, allowed %s KiB (32 MiB + 2 x the list)\n", n, kb[row[n]],
                        limit[n]
        }' "$LIMITS" "$RESULTS"
fi

if [ -s "$TYPING" ]; then
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
fi

if [ -s "$SORTS" ]; then
    echo
    echo "Sorting by a click on the header of a number column (/tab /header=1): ms from the click"
    echo "to the first row showing the line that comes first, the click handled and drawn (median"
    echo "of runs), the window's start and the peak working set after both clicks"
    awk -F'|' '
        BEGIN {
            printf "%-36s %10s %11s %10s %14s\n", "case", "ascending", "descending", "window", "peak"
        }
        { printf "%-36s %7s ms %8s ms %7s ms %10s KiB\n", $1, $2, $3, $4, $5 }' "$SORTS"
fi

# The targets of reading while showing: each against its limit, informational only.
if [ -s "$RESULTS" ] || [ -s "$TYPING" ]; then
    echo
    echo "Targets (medians; ratio: to the 3-line window, or to the limit itself)"
    awk -F'|' -v huge_limit="${HUGE_LIMIT:-}" -f "$HERE/bench/targets.awk" "$RESULTS" "$TYPING"
fi
