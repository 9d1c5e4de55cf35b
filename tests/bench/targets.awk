# The targets table of tests/bench.sh: reading while showing, each target
# against its limit. Informational only: nothing here fails a run.
#
#   awk -F'|' -v huge_limit=KIB -f targets.awk RESULTS TYPING
#
# RESULTS rows: label|window ms|peak KiB|baseline|ms to end|ms to the list read whole;
# TYPING rows: label|first key ms|...; huge_limit: the peak allowed for the
# 10,000,000-line file (its size + 64 MiB), empty when that case did not run.
FILENAME == ARGV[1] { ms[$1] = $2; kb[$1] = $3; to_end[$1] = $5; whole[$1] = $6; next }
$1 !~ /3 lines/ && (key == "" || $2 + 0 > key + 0) { key = $2; key_case = $1 }
function row(name, measured, ratio, limit, met) {
    printf "%-44s %14s %7s %14s  %s\n", name, measured, ratio, limit, met
}
function verdict(value, limit) { return value + 0 <= limit + 0 ? "met" : "missed" }
function number(v) { return v ~ /^[0-9.]+$/ && v + 0 > 0 }
function window(name, label, limit, small, r) {
    small = "orlipan 3 lines" in ms ? ms["orlipan 3 lines"] : ""
    if (!(label in ms))
        return row(name, "not run", "", sprintf("<= %.2fx", limit), "")
    if (!number(ms[label]))
        return row(name, ms[label], "-", sprintf("<= %.2fx", limit), "missed")
    if (!number(small))
        return row(name, ms[label] " ms", "-", sprintf("<= %.2fx", limit), "no 3-line run")
    r = ms[label] / small
    row(name, ms[label] " ms", sprintf("%.2fx", r), sprintf("<= %.2fx", limit),
        verdict(sprintf("%.2f", r), limit))
}
function absolute(name, value, limit, unit, ran) {
    if (!ran)
        return row(name, "not run", "", "<= " limit " " unit, "")
    if (!number(value))
        return row(name, shown_as(value), "-", "<= " limit " " unit, "missed")
    row(name, value " " unit, sprintf("%.2f", value / limit), "<= " limit " " unit,
        verdict(value, limit))
}
function shown_as(value) {
    if (value ~ /^over_/)
        return "over " substr(value, 6) " ms"
    return value == "" ? "none" : value
}
function ending(how, label, name, ran) {
    ran = label in ms  # before anything reads ms[label], which would make it
    absolute(how " -> end, " name, ran && ms[label] == "no window" ? "no window" : to_end[label],
             500, "ms", ran)
}
END {
    printf "%-44s %14s %7s %14s  %s\n", "target", "measured", "ratio", "limit", ""
    window("3 lines, pipe held open: window", "orlipan 3 lines, pipe held open", 1.1)
    window("1,000,000 lines, file: window", "orlipan 1000000 lines", 1.05)
    window("1,000,000 lines, pipe: window", "orlipan 1000000 lines, pipe", 1.1)
    window("10,000,000 lines, file: window", "orlipan 10000000 lines", 1.1)
    huge = "orlipan 10000000 lines"
    ran = huge in ms
    absolute("10,000,000 lines, file: list read whole", whole[huge], 2000, "ms", ran)
    if (huge_limit == "")
        row("10,000,000 lines, file: peak working set", "not run", "", "<= file + 64 MiB", "")
    else
        absolute("10,000,000 lines, file: peak working set", kb[huge], huge_limit, "KiB", ran)
    absolute("1,000,000 lines: first key into the filter", key, 50, "ms", key != "")
    ending("Escape", "orlipan 3 lines", "3 lines")
    ending("Escape", "orlipan 3 lines, pipe held open", "3 lines, held pipe")
    ending("Escape", "orlipan 1000000 lines", "1,000,000 lines")
    ending("Escape", "orlipan 1000000 lines, pipe", "1,000,000 lines, pipe")
    ending("Escape", "orlipan 10000000 lines", "10,000,000 lines")
    ending("Escape", "orlipan 10000000 lines, pipe", "10,000,000 lines, pipe")
    ending("Enter", "orlipan 3 lines, Enter", "3 lines")
    ending("Enter", "orlipan 3 lines, held pipe, Enter", "3 lines, held pipe")
    ending("Enter", "orlipan 1000000 lines, Enter", "1,000,000 lines")
    ending("Enter", "orlipan 10000000 lines, Enter", "10,000,000 lines")
    ending("Enter", "orlipan 10000000 lines, pipe, Enter", "10,000,000 lines, pipe")
    if (key_case != "")
        printf "first key: the slowest of the typing cases, %s\n", key_case
    if (huge_limit != "")
        printf "peak working set limit: the 10,000,000-line file + 64 MiB\n"
}