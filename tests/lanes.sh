# Sourced by build.sh: work that runs beside the stages (jobs), among it the
# Wine suites in lanes side by side.

# A job runs in the background, its output kept in build/lanes/NAME.log and
# printed whole when the job is waited for; the stage table gets its time.
LANE_DIR="$BUILD/lanes"
JOB_PIDS=()
JOB_NAMES=()
JOB_STARTS=()
start_job() {  # name command...
    local name=$1
    shift
    mkdir -p "$LANE_DIR"
    rm -f "$LANE_DIR/$name".*
    (
        trap 'echo "$SECONDS" >"$LANE_DIR/$name.end"
              cpu_seconds_of "$BASHPID" >"$LANE_DIR/$name.cpu"
              [ -z "${LANE_PREFIX:-}" ] || WINEPREFIX=$LANE_PREFIX wineserver -k >/dev/null 2>&1 || true' EXIT
        "$@"
    ) </dev/null >"$LANE_DIR/$name.log" 2>&1 &
    JOB_PIDS+=("$!")
    JOB_NAMES+=("$name")
    JOB_STARTS+=("$SECONDS")
}

# A job that is still running when the run fails is ended with everything it
# started (a build, a Wine suite), children first.
kill_tree() {  # pid
    local child
    kill -STOP "$1" 2>/dev/null || return 0
    for child in $(ps -o pid= --ppid "$1"); do
        kill_tree "$child"
    done
    kill "$1" 2>/dev/null || true
    kill -CONT "$1" 2>/dev/null || true
}

# The Wine suites spend most of their time waiting for windows, so they run
# side by side, each in an X display and a copy of the Wine prefix of its own:
# keys, clicks and window focus of one never reach another.
start_lane() {  # name command...
    local name=$1 prefix="$WINEPREFIX-$1"
    shift
    new_display
    WINEPREFIX=$WINEPREFIX wineserver -w
    rm -rf "$prefix"
    cp -a "$WINEPREFIX" "$prefix"
    WINE_PREFIXES+=("$prefix")
    LANE_PREFIX=$prefix start_job "$name" in_lane "$NEW_DISPLAY" "$prefix" "$@"
    echo "started: $name (display $NEW_DISPLAY, log $LANE_DIR/$name.log)"
}
in_lane() {  # display prefix command...
    export DISPLAY=$1 WINEPREFIX=$2
    shift 2
    "$@"
}

# Waits for the jobs named (all that are left when none is named), in the
# order they were started, and fails the run after the last one when any failed.
wait_jobs() {  # [name...]
    local i name code failed=() left_pids=() left_names=() left_starts=()
    for i in "${!JOB_PIDS[@]}"; do
        name=${JOB_NAMES[$i]}
        if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then
            left_pids+=("${JOB_PIDS[$i]}") left_names+=("$name") left_starts+=("${JOB_STARTS[$i]}")
            continue
        fi
        code=0
        wait "${JOB_PIDS[$i]}" || code=$?
        log "$name: its output"
        cat "$LANE_DIR/$name.log"
        STAGE_LINES+=("$(stage_line \
            $(($(cat "$LANE_DIR/$name.end" 2>/dev/null || echo "$SECONDS") - JOB_STARTS[i])) \
            "$(cat "$LANE_DIR/$name.cpu" 2>/dev/null) s" \
            "$name (side by side, from $((JOB_STARTS[i])) s)$([ "$code" = 0 ] || echo ": FAILED")")")
        [ "$code" = 0 ] || failed+=("$name")
    done
    JOB_PIDS=("${left_pids[@]}") JOB_NAMES=("${left_names[@]}") JOB_STARTS=("${left_starts[@]}")
    if [ ${#failed[@]} -gt 0 ]; then
        echo "failed: ${failed[*]}" >&2
        exit 1
    fi
}
