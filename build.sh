#!/usr/bin/env bash
# One entry point for building, testing, demonstrating and benchmarking the two
# tools on a Debian machine. Every command installs what it is missing first and
# is safe to run again.
#
#   ./build.sh demo      run orlipan on the bundled example list (screenshot when headless);
#                        builds only the tool and the demo's launcher
#   ./build.sh test      native unit tests, sanitizers, fuzz smoke runs, both cross builds,
#                        the Wine toolkit and end-to-end tests (i686: from its test kit,
#                        through cmd.exe), a second build that must give the same zips
#   ./build.sh bench     start-up time and memory of the tools against baselines
#   ./build.sh build     the two cross builds only
#   ./build.sh release   dist/: one zip and one test kit per architecture, SHA256SUMS
#
# Where the kernel runs no 32-bit programs, every Wine run uses the x86_64
# build instead, and the run says so (ORLIPAN_X86_64_ONLY=1 forces that path).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")" && pwd)
BUILD="$ROOT/build"
JOBS=$(nproc 2>/dev/null || echo 2)
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs in a fresh prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Every build of one commit is dated by that commit (PE time stamps, zip entries).
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git -C "$ROOT" rev-parse HEAD >/dev/null 2>&1; then
    export SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct)
fi

log() { printf '\n==> %s (at %d s)\n' "$*" "$SECONDS"; }

# ---- stages -------------------------------------------------------------

# shellcheck source=tests/stages.sh
. "$ROOT/tests/stages.sh"

# ---- set-up -------------------------------------------------------------

# The demo needs the cross compilers, Wine and a display; the tests also the
# native compilers (clang for the fuzzers), the picture tools and zip.
DEMO_PACKAGES=(cmake ninja-build libgtest-dev
               g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
               binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
               wine wine32:i386 wine64 fonts-wine fonts-dejavu-core xvfb xauth x11-utils imagemagick)
PACKAGES=("${DEMO_PACKAGES[@]}" g++ clang libclang-rt-14-dev x11-apps zip unzip)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

ensure_packages() {  # [package...], all of PACKAGES when none is named
    local missing=() p
    [ $# -gt 0 ] || set -- "${PACKAGES[@]}"
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing: ${missing[*]}"
    # Wine's 32-bit side (the shipped i686 build) needs the i386 architecture.
    dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
    local install=(as_root env DEBIAN_FRONTEND=noninteractive
                   apt-get install -y -q --no-install-recommends)
    local attempt updated=no
    for attempt in 1 2; do
        as_root apt-get update -q && { updated=yes; break; }
        [ "$attempt" = 2 ] || { log "apt-get update failed; once more in 10 s"; sleep 10; }
    done
    [ $updated = yes ] && "${install[@]}" "${missing[@]}" && return 0
    # A mirror caught mid-sync can leave one index out, the i386 one of the
    # security updates say: then an amd64 library's update has no i386 twin
    # of the same version and the install breaks. The release alone still
    # holds matching pairs of everything listed above.
    local release
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    [ $updated = yes ] && log "the install failed; once more from $release alone, without its updates" ||
        log "the package index is incomplete; installing from $release alone, without its updates"
    "${install[@]}" -t "$release" "${missing[@]}"
}

# ---- the host's Wine, and lanes of Wine suites side by side ---------------

# shellcheck source=tests/wine_host.sh
. "$ROOT/tests/wine_host.sh"
# shellcheck source=tests/lanes.sh
. "$ROOT/tests/lanes.sh"

# The stage table, the CPU time and the closing lines come last, after the
# clean-up, so that the displays' time is counted and the verdict is the
# run's last word.
CLOSING_LINES=()
finish() {
    local code=$? prefix pid line
    for prefix in "${WINE_PREFIXES[@]}"; do
        WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    done
    for pid in "${JOB_PIDS[@]}"; do
        kill_tree "$pid"
    done
    for pid in "${XVFB_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${XVFB_PIDS[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    print_stages
    rm -f "$STAGE_CPU"
    for line in "${CLOSING_LINES[@]}"; do echo "$line"; done
    exit "$code"
}
trap finish EXIT

# ---- builds -------------------------------------------------------------

# BUILD_TARGETS names the targets to build; all of them when it is empty.
BUILD_TARGETS=()
configure_and_build() {  # dir, extra cmake args...
    local dir=$1
    shift
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS" ${BUILD_TARGETS[@]+--target "${BUILD_TARGETS[@]}"}
}

build_host() {
    configure_and_build "$BUILD/host" -DCMAKE_BUILD_TYPE=Debug
    ctest --test-dir "$BUILD/host" --output-on-failure
}

build_sanitizers() {
    configure_and_build "$BUILD/sanitize" -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir "$BUILD/sanitize" --output-on-failure
}

# A sanitizer report stops the fuzzer (no recovery) and fails the stage; the
# log is searched as well, so that a report the fuzzer survives fails it too.
run_fuzzers() {
    configure_and_build "$BUILD/fuzz" -DFUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-fno-sanitize-recover=all"
    local f corpus
    for f in "$BUILD"/fuzz/bin/*_fuzz; do
        [ -x "$f" ] || continue
        corpus="$BUILD/fuzz/corpus/$(basename "$f")"
        mkdir -p "$corpus"
        echo "fuzzing $(basename "$f") for ${FUZZ_SECONDS:-5} s"
        # A failing input is kept beside the corpus, not in the checkout.
        "$f" -max_total_time="${FUZZ_SECONDS:-5}" -timeout=5 -rss_limit_mb=2048 \
            -artifact_prefix="$corpus." \
            -print_final_stats=0 "$corpus" 2>"$corpus.log" || {
            tail -40 "$corpus.log"
            exit 1
        }
        if grep -qE 'runtime error:|ERROR: [A-Za-z]+Sanitizer' "$corpus.log"; then
            grep -E -A20 'runtime error:|ERROR: [A-Za-z]+Sanitizer' "$corpus.log" | head -40
            exit 1
        fi
        grep -E '^Done|^#[0-9]+.*DONE' "$corpus.log" | tail -1 || true
    done
}

build_cross() {  # arch [target...]
    local arch=$1
    shift
    BUILD_TARGETS=("$@")
    configure_and_build "$BUILD/$arch" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake"
    BUILD_TARGETS=()
}

test_cross() {  # arch
    ctest --test-dir "$BUILD/$1" --output-on-failure
}

# The manual's pictures are taken into the build folder and copied into
# docs/images only when the whole run has passed: the release check packs
# docs/images meanwhile, and a failed run leaves the manual as it was.
PICTURES="$BUILD/pictures"

# The DPI suite runs at 96 DPI with the Wine tests; here it runs again on
# displays of 120, 144 and 192 DPI, and the manual's pictures are taken at 150 %.
test_dpi_cases() {  # arch
    SHOTS_DIR="$PICTURES" "$ROOT/tests/dpi_cases.sh" "$BUILD/$1/bin" "$WINEPREFIX" 120 144 192
}

take_pictures() {  # arch
    "$ROOT/tests/screenshots.sh" "$BUILD/$1/bin" "$PICTURES"
}

# The same programs ctest runs, but from the packed test kit, unpacked into a
# fresh folder and started by run-tests.cmd through cmd.exe, as on Windows.
# The programs that ctest runs outside the Wine virtual desktop (their
# ENVIRONMENT sets ORLIPAN_WINE_DESKTOP=off) run outside it from the kit too:
# the toolkit's in-process tests, whose clicks and posted border drag race
# the cursor position inside the desktop, where a cursor move can land after
# later input. All the others run inside it, where a window closes at once
# instead of waiting about two seconds for a window manager.
test_kit() {  # arch
    local arch=$1 zip
    zip=$("$ROOT/tests/pack_kit.sh" "$BUILD/$arch" "$arch" "$BUILD/kit")
    KIT_OUTSIDE_DESKTOP=$(tests_outside_desktop "$BUILD/$arch") \
        "$ROOT/tests/run_kit.sh" "$zip" "$BUILD/kit/$arch" "$BUILD/$arch/bin/runner_selftest.exe"
}
tests_outside_desktop() {  # build dir
    ctest --test-dir "$1" -N -V | awk '
        /^[0-9]+:  ORLIPAN_WINE_DESKTOP=off\r?$/ { off[$1 + 0] = 1 }
        /^  Test +#[0-9]+: / { n = $2; gsub(/[#:]/, "", n); if (off[n + 0]) printf "%s ", $3 }'
}

# shellcheck source=tests/release_check.sh
. "$ROOT/tests/release_check.sh"

# ---- the lanes' work -----------------------------------------------------

# The demo as a newcomer runs it, and once with no tool to start: that one
# must fail, saying the window did not appear.
check_demo() {  # arch
    local missing="$BUILD/demo-missing"
    "$ROOT/tests/demo.sh" "$BUILD/$1/bin" 1 "$BUILD/demo-check"
    rm -rf "$missing"
    mkdir -p "$missing/bin"
    cp "$BUILD/$1/bin/launch.exe" "$missing/bin/"
    if DEMO_WAIT_SECONDS=20 "$ROOT/tests/demo.sh" "$missing/bin" 1 "$missing/out" \
        >"$missing/demo.log" 2>&1; then
        cat "$missing/demo.log"
        echo "the demo passed though it had no tool to start" >&2
        exit 1
    fi
    grep -q 'the pick window did not appear' "$missing/demo.log" || {
        cat "$missing/demo.log"
        echo "the demo without a tool failed without saying why" >&2
        exit 1
    }
    echo "a demo with no tool to start failed as it should: $(tail -1 "$missing/demo.log")"
}
ctest_and_demo() {  # arch of the demo
    log "ctest x86_64"
    test_cross x86_64
    log "demo, and a demo that must fail"
    check_demo "$1"
}

pictures_and_dpi_cases() {  # arch
    log "pictures of the windows for the manual"
    take_pictures "$1"
    log "Wine tests at 125, 150 and 200 % display scale; pictures at 150 %"
    test_dpi_cases "$1"
}

# ---- commands -----------------------------------------------------------

cmd_build() {
    ensure_packages
    build_cross i686
    build_cross x86_64
}

# Windows-side programs run inside a Wine virtual desktop: without a window
# manager, Wine waits about two seconds for every hidden or destroyed window,
# and the desktop also draws the window frames a user would see.
use_virtual_desktop() {
    export ORLIPAN_WINE_DESKTOP="${ORLIPAN_WINE_DESKTOP:-1280x1024}"
}

# Where i686 programs cannot run, its Wine runs are named skipped, never passed.
skip_i686() {  # what
    skip_stage "$1 i686" "$HOST_LIMIT"
}

# The Wine suites start as soon as the build they run is made, and the Wine
# prefix is made beside the first build. The second release build starts at
# once; it, the native builds, the fuzzers and the other cross build (unless
# a lane waits for it) run at the lowest priority, so that they take only
# what the suites and the builds the suites wait for leave of the processors.
cmd_test() {
    local start=$SECONDS arch other other_nice=19
    use_virtual_desktop
    stage "packages" ensure_packages
    detect_host
    arch=$WINE_ARCH
    other=$([ "$arch" = i686 ] && echo x86_64 || echo i686)
    rm -rf "$PICTURES"
    stage "reproducible release: sources copied" copy_sources
    start_job "second-release-build" build_second
    start_job "wine-prefix" ensure_wineprefix
    WINE_PREFIXES+=("$WINEPREFIX")
    stage "cross build $arch" build_cross "$arch"
    wait_jobs "wine-prefix"
    start_lane "kit-$arch" test_kit "$arch"
    start_lane "pictures-and-dpi-$arch" pictures_and_dpi_cases "$arch"
    if [ "$arch" = x86_64 ]; then
        start_lane "ctest-x86_64-and-demo" ctest_and_demo "$arch"
    else
        other_nice=10
    fi
    stage "cross build $other" nice -n "$other_nice" "$ROOT/build.sh" _stage build_cross "$other"
    [ "$arch" = x86_64 ] || start_lane "ctest-x86_64-and-demo" ctest_and_demo "$arch"
    [ "$arch" = i686 ] || {
        skip_i686 "test kit"
        skip_i686 "pictures and DPI suite"
        skip_i686 "demo"
    }
    stage "reproducible release: first zips" pack_first
    stage "release refuses a library missing from the notices" check_notices_guard
    stage "native build and unit tests" nice -n 19 "$ROOT/build.sh" _stage build_host
    stage "unit tests under ASan and UBSan" nice -n 19 "$ROOT/build.sh" _stage build_sanitizers
    stage "libFuzzer smoke runs" nice -n 19 "$ROOT/build.sh" _stage run_fuzzers
    STAGE_NAME="Wine suites and the second release build side by side" STAGE_START=$SECONDS
    wait_jobs
    STAGE_NAME=
    stage "reproducible release: comparison" check_reproducible
    cp "$PICTURES"/*.png "$ROOT/docs/images/"
    echo "pictures of the manual: $(ls "$PICTURES"/*.png | wc -l) taken, copied to docs/images"
    CLOSING_LINES+=("$(printf '\n==> all tests passed in %d s' $((SECONDS - start)))")
    [ -z "$HOST_LIMIT" ] ||
        CLOSING_LINES+=("i686 Wine runs skipped: $HOST_LIMIT; the x86_64 build ran them")
}

# The demo builds what it runs: the tool and the launcher that starts it in a
# console of its own. The Wine prefix is made meanwhile.
cmd_demo() {
    local start=$SECONDS
    stage "packages" ensure_packages "${DEMO_PACKAGES[@]}"
    detect_host
    local headless=0
    if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then headless=1; fi
    start_display
    start_job "wine-prefix" ensure_wineprefix
    WINE_PREFIXES+=("$WINEPREFIX")
    stage "cross build $WINE_ARCH: orlipan and launch" build_cross "$WINE_ARCH" orlipan launch
    wait_jobs "wine-prefix"
    [ "$headless" = 1 ] && use_virtual_desktop
    stage "demo" "$ROOT/tests/demo.sh" "$BUILD/$WINE_ARCH/bin" "$headless" "$BUILD/demo"
    CLOSING_LINES+=("$(printf '\n==> the demo ran in %d s' $((SECONDS - start)))")
    [ -z "$HOST_LIMIT" ] ||
        CLOSING_LINES+=("i686 demo skipped: $HOST_LIMIT; the x86_64 build ran it")
}

cmd_bench() {
    use_virtual_desktop
    ensure_packages
    detect_host
    build_cross "$WINE_ARCH"
    start_display
    ensure_wineprefix
    # Both builds where the host runs them, each measured in full.
    local arch
    for arch in $(printf '%s\n' "$WINE_ARCH" x86_64 | awk '!seen[$0]++'); do
        [ "$arch" = "$WINE_ARCH" ] || build_cross "$arch"
        echo "bench: the $arch build"
        "$ROOT/tests/bench.sh" "$BUILD/$arch/bin"
    done
}

cmd_release() {
    cmd_build
    detect_host
    start_display
    ensure_wineprefix
    PICTURES_ARCH=$WINE_ARCH "$ROOT/tests/release.sh" "$ROOT"
}

case "${1:-}" in
    test) cmd_test ;;
    demo) cmd_demo ;;
    bench) cmd_bench ;;
    build) cmd_build ;;
    # One stage in a process of its own, so that it can run at low priority.
    _stage) shift && "$@" ;;
    release) cmd_release ;;
    *)
        echo "usage: $0 {demo|test|bench|build|release}" >&2
        exit 2
        ;;
esac
