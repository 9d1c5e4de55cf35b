# Sourced by build.sh: the stage table, with the wall and CPU time of every
# stage, and the CPU line that closes a run.

# Every stage's time is printed at the end of the run, also when a stage
# fails, so that a slow run shows where its time went: the wall time and the
# CPU time of the stage's own processes (those it waited for; see below).
# A stage runs in a subshell of its own, which counts its CPU time.
STAGE_LINES=()
STAGE_NAME=
STAGE_START=0
STAGE_CPU=$(mktemp "${TMPDIR:-/tmp}/orlipan-stage-cpu.XXXXXX")
CPU_TICKS=$(getconf CLK_TCK 2>/dev/null || echo 100)
cpu_seconds_of() {  # pid: its CPU time and that of the children it waited for
    local stat
    read -r -a stat </proc/"$1"/stat
    echo $(((stat[13] + stat[14] + stat[15] + stat[16] + CPU_TICKS / 2) / CPU_TICKS))
}
stage_line() {  # seconds cpu-seconds name
    printf '%6d s %6s  %s' "$1" "$2" "$3"
}
stage() {  # name command...
    local name=$1 cpu
    shift
    STAGE_NAME=$name STAGE_START=$SECONDS
    log "$name"
    (
        "$@"
        cpu_seconds_of "$BASHPID" >"$STAGE_CPU"
    )
    cpu=$(cat "$STAGE_CPU")
    STAGE_LINES+=("$(stage_line $((SECONDS - STAGE_START)) "$cpu s" "$name")")
    STAGE_NAME=
}
skip_stage() {  # name reason
    STAGE_LINES+=("$(printf '%8s %8s  %s: skipped, %s' - - "$1" "$2")")
}
print_stages() {
    [ ${#STAGE_LINES[@]} -gt 0 ] || [ -n "$STAGE_NAME" ] || return 0
    echo
    echo "stage times:  wall    CPU"
    local line
    for line in "${STAGE_LINES[@]}"; do echo "$line"; done
    [ -z "$STAGE_NAME" ] || echo "$(stage_line $((SECONDS - STAGE_START)) "" "$STAGE_NAME"): FAILED"
    print_cpu_time
}

# CPU time against wall time shows how much of a run computes and how much
# waits. This script's own count takes in every program it (or a program it
# started) waited for; Wine's server and the programs Wine starts leave their
# parents and are only in the whole machine's count, which also holds
# whatever else ran meanwhile.
machine_busy_ticks() {
    local user nice system irq softirq steal
    read -r _ user nice system _ _ irq softirq steal _ </proc/stat
    echo $((user + nice + system + irq + softirq + steal))
}
MACHINE_BUSY_START=$(machine_busy_ticks)
print_cpu_time() {
    local own machine cores
    own=$(cpu_seconds_of $$)
    machine=$((($(machine_busy_ticks) - MACHINE_BUSY_START) / CPU_TICKS))
    cores=$(nproc 2>/dev/null || echo 1)
    printf 'CPU time: %d s in %d s of wall time (%d %% of one core; %d cores);' \
        "$own" "$SECONDS" $((own * 100 / (SECONDS > 0 ? SECONDS : 1))) "$cores"
    printf ' the whole machine, Wine and anything else included: %d s\n' "$machine"
}
