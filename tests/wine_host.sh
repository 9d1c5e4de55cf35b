# Sourced by build.sh: the host's Wine (which loader runs, the shim where
# only 64-bit programs run), the X displays, and the Wine prefix with its
# fonts and crash settings.

# Wine runs i686 programs in 32-bit processes, started by its 32-bit loader.
# Some kernels run 64-bit user code only; there that loader fails with "Exec
# format error", and every Wine run uses the x86_64 build instead (the same
# sources). ORLIPAN_X86_64_ONLY=1 takes that path on any host, so that it can
# be tried where both kinds run.
WINE_ARCH=      # the build the Wine runs use: i686 or x86_64
HOST_LIMIT=     # why i686 programs do not run here; empty where they do
WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64

detect_host() {
    [ -z "$WINE_ARCH" ] || return 0
    local answer code=0
    if [ "${ORLIPAN_X86_64_ONLY:-0}" = 1 ]; then
        HOST_LIMIT="ORLIPAN_X86_64_ONLY=1 is set"
    else
        answer=$(sh -c "exec $WINE32_LOADER --version" 2>&1) || code=$?
        if [ "$code" != 0 ] && [[ $answer == *"Exec format error"* ]]; then
            HOST_LIMIT="this kernel runs no 32-bit programs ($WINE32_LOADER: Exec format error)"
        fi
    fi
    if [ -z "$HOST_LIMIT" ]; then
        WINE_ARCH=i686
        export WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix}"
        return 0
    fi
    WINE_ARCH=x86_64
    # Debian's wine and wine-stable start the 32-bit loader whenever it is
    # installed; wineboot, winepath and the other helpers go through
    # wine-stable. Both are replaced, first on the PATH, by the 64-bit loader.
    local shim="$BUILD/wine64-only"
    mkdir -p "$shim"
    printf '#!/bin/sh\nexport WINELOADER=%s\nexec %s "$@"\n' "$WINE64_LOADER" "$WINE64_LOADER" \
        >"$shim/wine"
    chmod +x "$shim/wine"
    cp "$shim/wine" "$shim/wine-stable"
    export PATH="$shim:$PATH" WINELOADER=$WINE64_LOADER
    # A prefix of its own: one made by both loaders is not one made by wine64 alone.
    export WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix-x86_64}"
    echo "host: i686 programs cannot run under Wine here ($HOST_LIMIT);" \
        "the Wine runs use the x86_64 build"
}

XVFB_PIDS=()
WINE_PREFIXES=()    # every prefix a run started Wine in, for the clean-up
NEW_DISPLAY=
new_display() {  # starts an Xvfb display of its own; sets NEW_DISPLAY
    local n i pid
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        pid=$!
        for i in $(seq 1 100); do
            if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
                XVFB_PIDS+=("$pid")
                NEW_DISPLAY=":$n"
                return 0
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$pid" 2>/dev/null || true
    done
    echo "no virtual display could be started" >&2
    exit 1
}
start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    new_display
    export DISPLAY=$NEW_DISPLAY
}

ensure_wineprefix() {
    WINE_PREFIXES+=("$WINEPREFIX")
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "creating the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >"$BUILD/wineboot.log" 2>&1 || true
        wineserver -w || true
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            cat "$BUILD/wineboot.log" >&2
            echo "Wine could not make the prefix $WINEPREFIX" >&2
            exit 1
        fi
    fi
    link_wine_fonts
    quiet_wine_crashes
}

# A program that crashes under Wine starts Wine's debugger, which by default
# waits on an error box that nobody closes here, and a test waited out its
# timeout for a window that could not come. Without the box the debugger
# prints the crash's backtrace to the program's standard error and ends it
# with the exception's code, as Windows does without its error reporting.
quiet_wine_crashes() {
    [ -f "$WINEPREFIX/.orlipan-quiet-crashes" ] && return 0
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.orlipan-quiet-crashes"
}

# Wine's own fonts (Tahoma for dialogs, Marlett for the caption buttons) come
# with fonts-wine, but this Wine does not load them from where that package
# puts them: without them a close box shows as the letter "r". They are
# linked into the prefix's Fonts folder, where Windows keeps its fonts and
# Wine loads every file at the start of each program, so an older prefix
# gets them too, without being made anew.
#
# Wine's bold Tahoma, the caption font, has no Greek letters, where Windows'
# caption font has them: DejaVu Sans goes into the Fonts folder too and is
# linked behind it (FontLink\SystemLink, as Windows links its fonts for the
# scripts they lack), so a Greek title shows as on Windows. Wine looks a link
# up by the full name of the face in use ("Tahoma Bold"), and draws the
# linked face bold itself; a linked font only draws the letters the first
# one lacks, so no other picture changes.
FONT_LINK_FACE="Tahoma Bold"
FONT_LINK="DejaVuSans.ttf,DejaVu Sans"
link_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
    mkdir -p "$fonts"
    while read -r font; do
        [ -e "$fonts/$(basename "$font")" ] || ln -s "$font" "$fonts/"
    done < <(dpkg -L fonts-wine | grep -i '\.ttf$'
             dpkg -L fonts-dejavu-core | grep -E '/DejaVuSans\.ttf$')
    [ "$(cat "$WINEPREFIX/.orlipan-fontlinks" 2>/dev/null)" = "$FONT_LINK_FACE=$FONT_LINK" ] &&
        return 0
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$FONT_LINK_FACE" /t REG_MULTI_SZ /d "$FONT_LINK" /f >/dev/null 2>&1
    wineserver -w
    echo "$FONT_LINK_FACE=$FONT_LINK" >"$WINEPREFIX/.orlipan-fontlinks"
}
