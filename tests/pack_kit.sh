#!/usr/bin/env bash
# Packs the test kit of one architecture: the tools, every Windows-side test
# program that ctest runs for that build, the batch files they run, the test
# runner and run-tests.cmd, as OUT_DIR/orlipan-vemo-tests-VERSION-ARCH.zip.
#
#   tests/pack_kit.sh BUILD_DIR ARCH OUT_DIR
#
# BUILD_DIR is a finished cross build (build/i686 or build/x86_64). The test
# programs are those ctest lists for it, so the kit runs exactly what ctest
# runs. The zip's entries carry the time of SOURCE_DATE_EPOCH or of the last
# commit, so two builds of one commit give the same bytes. Prints the zip's path.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 BUILD_DIR ARCH OUT_DIR" >&2
    exit 2
fi
BUILD_DIR=$(cd "$1" && pwd)
ARCH=$2
OUT=$3
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BIN="$BUILD_DIR/bin"

SCRIPT=pack_kit
. "$ROOT/tests/release_common.sh"

VERSION="$(version_of ORLIPAN_VERSION_NUMBER_TEXT)-$(version_of VEMO_VERSION_NUMBER_TEXT)"
STAMP=${SOURCE_DATE_EPOCH:-$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || date +%s)}
case $ARCH in
    i686) FORMAT=pei-i386 ;;
    x86_64) FORMAT=pei-x86-64 ;;
    *) fail "unknown architecture $ARCH" ;;
esac

mapfile -t PROGRAMS < <(ctest --test-dir "$BUILD_DIR" -N | sed -n 's/^ *Test *#[0-9]*: *//p')
[ ${#PROGRAMS[@]} -gt 0 ] || fail "ctest lists no tests in $BUILD_DIR"

NAME="orlipan-vemo-tests-$VERSION-$ARCH"
STAGE=$(mktemp -d "${TMPDIR:-/tmp}/orlipan-kit.XXXXXX")
trap 'rm -rf "$STAGE"' EXIT
TOP="$STAGE/$NAME"
mkdir -p "$TOP/examples"

# The tools' test builds raise faults on purpose for the failure tests.
for exe in orlipan vemo orlipan_faults vemo_faults test_runner "${PROGRAMS[@]}"; do
    [ -f "$BIN/$exe.exe" ] || fail "$BIN/$exe.exe is missing"
    format=$("$ARCH-w64-mingw32-objdump" -f "$BIN/$exe.exe" | sed -n 's/.*file format //p')
    [ "$format" = "$FORMAT" ] || fail "$exe.exe is '$format', expected $FORMAT"
    check_notices "$BIN/$exe.exe"
    cp "$BIN/$exe.exe" "$TOP/"
done
# Batch files and lists from the sources, not from the build folder, where a
# file removed from the sources could linger.
cp "$ROOT"/tests/batch/*.cmd "$ROOT/tests/kit/run-tests.cmd" "$ROOT/tests/kit/README.txt" "$TOP/"
cp "$ROOT"/examples/*.cmd "$ROOT"/examples/*.txt "$TOP/examples/"
# The manual's pages, whose batch blocks the manual_*_e2e programs run.
mkdir -p "$TOP/manual/docs"
cp "$ROOT/README.md" "$TOP/manual/"
cp "$ROOT"/docs/*.md "$TOP/manual/docs/"
cp "$ROOT/LICENSE" "$TOP/LICENSE.txt"
cp "$NOTICES" "$TOP/"
cp /usr/share/doc/googletest/copyright "$TOP/googletest-copyright.txt"
# cmd.exe wants CR LF, and so does the Notepad of older Windows. The example
# lists stay as they are: the tests read them as the release ships them.
for f in "$TOP"/*.cmd "$TOP"/examples/*.cmd "$TOP"/*.txt; do
    sed -i 's/\r$//; s/$/\r/' "$f"
done
# Neither the umask nor the clock of the packing machine reaches the zip.
chmod -R u=rwX,go=rX "$TOP"
find "$TOP" -exec touch -h -d "@$STAMP" {} +
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)
rm -f "$OUT/$NAME.zip"
(cd "$STAGE" && find "$NAME" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -9 "$OUT/$NAME.zip" -@)
zip -q -T "$OUT/$NAME.zip" >/dev/null || fail "$NAME.zip does not test sound"
echo "pack_kit: $NAME.zip: ${#PROGRAMS[@]} test programs (${PROGRAMS[*]})," \
    "$(find "$TOP" -type f | wc -l) files, $(stat -c %s "$OUT/$NAME.zip") bytes" >&2
echo "$OUT/$NAME.zip"
