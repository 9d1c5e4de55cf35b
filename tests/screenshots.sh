#!/usr/bin/env bash
# Takes the pictures of the manual from the real executables, so that they
# always show what the tools really draw.
#
#   tests/screenshots.sh BIN_DIR OUT_DIR [SUFFIX]
#
# BIN_DIR holds orlipan.exe and vemo.exe (and shot_launch.exe when the build
# made it; otherwise it is compiled here). OUT_DIR receives the PNG files,
# their names ending in SUFFIX (e.g. _150 for the pictures at 150 %).
# The caller provides DISPLAY (an X display, e.g. Xvfb) and WINEPREFIX.
#
# Every tool runs in a Wine virtual desktop inside that display: there Wine
# draws the title bar and frame itself, as Windows does, while a bare X
# display without a window manager would show the client area only. Each tool
# is started by shot_launch.exe in a console of its own, as from a batch file;
# the launcher reports the window's rectangle once the window waits for input
# and closes the tool when asked. A tool may read a pipe that the launcher
# fills with a fixed list and holds open, so that the picture shows a list
# still being read, always with the same lines. Exits non-zero when any
# picture is missing.
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 BIN_DIR OUT_DIR [SUFFIX]" >&2
    exit 2
fi
BIN=$(cd "$1" && pwd)
OUT=$2
SUFFIX=${3:-}
HERE=$(cd "$(dirname "$0")" && pwd)
: "${DISPLAY:?DISPLAY must name an X display}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

DESKTOP="orlipan-shots-$$"
DESKTOP_SIZE=1024x768
POLL=0.1
WINDOW_POLLS=300     # 30 s for a tool window to appear
EXIT_POLLS=200       # 20 s for a tool to close
CAPTURE_TRIES=30     # captures until two in a row agree

WORK=$(mktemp -d "${TMPDIR:-/tmp}/orlipan-shots.XXXXXX")
LAUNCHER_PIDS=()
cleanup() {
    local pid
    for pid in "${LAUNCHER_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

for tool in orlipan.exe vemo.exe; do
    if [ ! -f "$BIN/$tool" ]; then
        echo "screenshots: $BIN/$tool is missing" >&2
        exit 1
    fi
done

LAUNCHER="$BIN/shot_launch.exe"
if [ ! -f "$LAUNCHER" ]; then
    LAUNCHER="$WORK/shot_launch.exe"
    # The same machine as the tools: where no 32-bit programs run, neither does an i686 launcher.
    compiler=i686-w64-mingw32-g++-posix
    if x86_64-w64-mingw32-objdump -f "$BIN/orlipan.exe" 2>/dev/null | grep -q 'pei-x86-64'; then
        compiler=x86_64-w64-mingw32-g++-posix
    fi
    "$compiler" -std=c++17 -O2 -static -I "$HERE/.." -o "$LAUNCHER" \
        "$HERE/shots/shot_launch_win32.cpp" "$HERE/e2e/tool_window_win32.cpp"
fi

win_path() { winepath -w "$1" 2>/dev/null; }
WIN_BIN=$(win_path "$BIN")

# Sample list files, in the batch files' own CR LF form.
printf 'Red\r\nOrange\r\nYellow\r\nGreen\r\nBlue\r\nViolet\r\nBlack\r\nWhite\r\n' \
    >"$WORK/colours.txt"
printf 'Budget 2024.xls\r\nHoliday photos.zip\r\nMeeting notes 2024-03.docx\r\nProject plan.docx\r\nReport 2023.pdf\r\nReport 2024 draft.docx\r\nReport 2024 final.pdf\r\nTravel expenses 2024.xls\r\n' \
    >"$WORK/documents.txt"
printf 'Edit the notes\r\nShow the calendar\r\n\r\nBack up the documents\r\nCheck the disk\r\n\r\nQuit\r\n' \
    >"$WORK/menu.txt"
# What `dir /s /b` of a documents folder writes first, while it still walks
# the folders below.
printf '%s\r\n' 'C:\Users\Ada\Documents\Budget 2024.xls' 'C:\Users\Ada\Documents\Letters' \
    'C:\Users\Ada\Documents\Meeting notes 2024-03.docx' 'C:\Users\Ada\Documents\Photos' \
    'C:\Users\Ada\Documents\Project plan.docx' 'C:\Users\Ada\Documents\Report 2024 final.pdf' \
    'C:\Users\Ada\Documents\Letters\Bank 2023-11.docx' \
    'C:\Users\Ada\Documents\Letters\Insurance claim.docx' \
    'C:\Users\Ada\Documents\Letters\Landlord.docx' 'C:\Users\Ada\Documents\Photos\2023' \
    'C:\Users\Ada\Documents\Photos\2024' 'C:\Users\Ada\Documents\Photos\2023\Harbour 001.jpg' \
    >"$WORK/documents_walk.txt"
# A list in UTF-8, as Notepad saves it, in Greek and Russian: the colours
# again, and two city names. The prefix's fonts (Wine's Tahoma and the
# system's DejaVu) cover Greek and Cyrillic but no Chinese or Japanese, which
# would show as empty boxes here, so the picture keeps to the two.
printf 'Κόκκινο — Красный\r\nΠράσινο — Зелёный\r\nΜπλε — Синий\r\nΑθήνα\r\nМосква\r\n' \
    >"$WORK/colours_utf8.txt"

desktop_window() {
    xwininfo -root -tree 2>/dev/null | awk -v name="\"$DESKTOP - Wine desktop\":" \
        'index($0, name) { print $1; exit }'
}

# Captures the rectangle of the desktop until two captures in a row agree, so
# the picture is not taken while the window is still being drawn.
capture() {  # desktop_id geometry out
    local id=$1 geometry=$2 out=$3 _ previous="$WORK/previous.png"
    rm -f "$previous"
    for _ in $(seq "$CAPTURE_TRIES"); do
        import -silent -window "$id" -crop "$geometry" +repage "$out" 2>/dev/null || continue
        if [ -f "$previous" ] &&
            [ "$(compare -metric AE "$previous" "$out" null: 2>&1 || true)" = 0 ]; then
            return 0
        fi
        cp "$out" "$previous"
    done
    return 1
}

# With a standard input file, the tool reads a pipe holding that file's bytes
# that stays open until the tool has closed (shot_launch.exe reads JOB.stdin).
shot() {  # name command_line_for_windows [text_to_type [standard_input_file]]
    local name=$1 command=$2 typed=${3:-} job="$WORK/$1.job" result="$WORK/$1.out" _
    printf '%s' "$command" >"$job"
    [ -z "${4:-}" ] || cp "$4" "$job.stdin"
    : >"$result"
    local typing=()
    [ -n "$typed" ] && typing=("$typed")
    wine explorer "/desktop=$DESKTOP,$DESKTOP_SIZE" "$(win_path "$LAUNCHER")" "$(win_path "$job")" \
        "${typing[@]}" >"$result" 2>"$WORK/$name.err" &
    local pid=$!
    LAUNCHER_PIDS+=("$pid")

    local rect=""
    for _ in $(seq "$WINDOW_POLLS"); do
        rect=$(awk '/^WINDOW/ { print $2, $3, $4, $5 }' "$result" | tr -d '\r' || true)
        [ -n "$rect" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep "$POLL"
    done
    if [ -z "$rect" ]; then
        echo "screenshots: $name: no window appeared" >&2
        cat "$WORK/$name.err" >&2
        return 1
    fi
    local left top right bottom
    read -r left top right bottom <<<"$rect"
    local geometry="$((right - left))x$((bottom - top))+$left+$top"

    local id=""
    for _ in $(seq "$WINDOW_POLLS"); do
        id=$(desktop_window)
        [ -n "$id" ] && break
        sleep "$POLL"
    done
    local taken=0
    if [ -n "$id" ] && capture "$id" "$geometry" "$WORK/$name.png"; then
        taken=1
    fi

    touch "$job.stop"
    local code=""
    for _ in $(seq "$EXIT_POLLS"); do
        code=$(awk '/^EXIT/ { print $2 }' "$result" | tr -d '\r' || true)
        [ -n "$code" ] && break
        sleep "$POLL"
    done
    wait "$pid" 2>/dev/null || true

    if [ "$taken" != 1 ]; then
        echo "screenshots: $name: the window could not be captured" >&2
        return 1
    fi
    if [ -z "$code" ]; then
        echo "screenshots: $name: the tool did not close" >&2
        return 1
    fi
    cp "$WORK/$name.png" "$OUT/$name$SUFFIX.png"
    echo "screenshots: $name$SUFFIX.png ($geometry, tool exit code $code)"
}

mkdir -p "$OUT"
start=$SECONDS
WIN_COLOURS=$(win_path "$WORK/colours.txt")
WIN_MENU=$(win_path "$WORK/menu.txt")
WIN_DOCUMENTS=$(win_path "$WORK/documents.txt")
shot orlipan_list \
    "\"$WIN_BIN\\orlipan.exe\" \"$WIN_COLOURS\" \"Pick a colour\" \"set colour=\$item\""
shot orlipan_menu \
    "\"$WIN_BIN\\orlipan.exe\" \"$WIN_MENU\" \"Tools\" \"\$item\" /menu"
WIN_UTF8=$(win_path "$WORK/colours_utf8.txt")
shot orlipan_utf8 \
    "\"$WIN_BIN\\orlipan.exe\" \"$WIN_UTF8\" \"Χρώμα — Цвет\" \"set colour=\$item\" /utf8"
shot orlipan_filter \
    "\"$WIN_BIN\\orlipan.exe\" \"$WIN_DOCUMENTS\" \"Open a document\" \"start '''' ''\$item''\" /filter" \
    "rep 2024"
# Twelve lines in, the writer not done: the title counts the lines read so far.
shot orlipan_reading \
    "\"$WIN_BIN\\orlipan.exe\" - \"Pick a file\" \"\$item\" /oemlist /oemout" "" \
    "$WORK/documents_walk.txt"
# The example list as it ships: three tab-separated columns under a header line.
WIN_PLANETS=$(win_path "$HERE/../examples/planets.txt")
shot orlipan_columns \
    "\"$WIN_BIN\\orlipan.exe\" \"$WIN_PLANETS\" \"Planets\" \"\$1\" /tab /header=1"
shot vemo_countdown \
    "\"$WIN_BIN\\vemo.exe\" \"Deploy\" \"Copy the files now?^They will replace the old ones.\" \"&Yes;&No (\$);Cancel\" /TM=30 /DB=2"
shot vemo_error \
    "\"$WIN_BIN\\vemo.exe\" \"Deploy\" \"Copy now?\" \"Yes;No\" extra /q"
shot vemo_input \
    "\"$WIN_BIN\\vemo.exe\" \"Sign in\" \"Your name:\" \"OK;Cancel\" /IN /IC=q /AL" \
    "Ada Lovelace"
shot vemo_icon \
    "\"$WIN_BIN\\vemo.exe\" \"Deploy\" \"The disk is almost full.^Copy the files anyway?\" \"&Yes;&No\" /IC=w /DB=2"
echo "screenshots: done in $((SECONDS - start)) s"
