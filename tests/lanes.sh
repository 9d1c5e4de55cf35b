# Sourced by build.sh: the Wine suites in lanes side by side.

# The Wine suites spend most of their time waiting for windows, so they run
# side by side, each in an X display and a copy of the Wine prefix of its own:
# keys, clicks and window focus of one never reach another. A lane's output
# is printed whole when it has ended.
LANE_DIR="$BUILD/lanes"
LANE_PIDS=()
LANE_NAMES=()
LANE_STARTS=()
start_lane() {  # name command...
    local name=$1 prefix="$WINEPREFIX-$1"
    shift
    mkdir -p "$LANE_DIR"
    rm -f "$LANE_DIR/$name".*
    new_display
    WINEPREFIX=$WINEPREFIX wineserver -w
    rm -rf "$prefix"
    cp -a "$WINEPREFIX" "$prefix"
    WINE_PREFIXES+=("$prefix")
    (
        export DISPLAY=$NEW_DISPLAY WINEPREFIX=$prefix
        trap 'echo "$SECONDS" >"$LANE_DIR/$name.end"; wineserver -k >/dev/null 2>&1 || true' EXIT
        "$@"
    ) </dev/null >"$LANE_DIR/$name.log" 2>&1 &
    LANE_PIDS+=("$!")
    LANE_NAMES+=("$name")
    LANE_STARTS+=("$SECONDS")
    echo "started: $name (display $NEW_DISPLAY, log $LANE_DIR/$name.log)"
}
wait_lanes() {
    local i name code failed=()
    for i in "${!LANE_PIDS[@]}"; do
        name=${LANE_NAMES[$i]}
        code=0
        wait "${LANE_PIDS[$i]}" || code=$?
        log "$name: its output"
        cat "$LANE_DIR/$name.log"
        STAGE_LINES+=("$(printf '%6d s  %s (side by side)%s' \
            $(($(cat "$LANE_DIR/$name.end" 2>/dev/null || echo "$SECONDS") - LANE_STARTS[i])) \
            "$name" "$([ "$code" = 0 ] || echo ": FAILED")")")
        [ "$code" = 0 ] || failed+=("$name")
    done
    LANE_PIDS=() LANE_NAMES=() LANE_STARTS=()
    if [ ${#failed[@]} -gt 0 ]; then
        echo "failed: ${failed[*]}" >&2
        exit 1
    fi
}
