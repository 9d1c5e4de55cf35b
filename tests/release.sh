#!/usr/bin/env bash
# Packs the release: one zip per architecture with both executables, the
# manual with its pictures, the example batch files, the licence and the
# notices of the libraries linked into the executables; one test
# kit per architecture (tests/pack_kit.sh); and SHA256SUMS, all in DIST.
#
#   tests/release.sh [ROOT [DIST]]   ROOT defaults to the checkout holding this
#                                    script, DIST to ROOT/dist
#
# The executables are taken from ROOT/build/i686/bin and ROOT/build/x86_64/bin;
# an architecture whose programs are missing is cross-built first, so the
# script also works from a clean clone. The version comes from
# resources/version.h, the same file that fills the executables' version
# resources, so the package name cannot disagree with the programs.
# SOURCE_DATE_EPOCH, or else the time of the last commit, dates every entry;
# the build stamps the executables with the same time (CMakeLists.txt), so two
# builds of one commit give byte-identical zips.
set -euo pipefail

ROOT=$(cd "${1:-$(dirname "$0")/..}" && pwd)
DIST=${2:-$ROOT/dist}
ARCHES=(i686 x86_64)
TOOLS=(orlipan.exe vemo.exe)
PICTURES_ARCH=${PICTURES_ARCH:-i686}

SCRIPT=release
. "$ROOT/tests/release_common.sh"

ORLIPAN_VERSION=$(version_of ORLIPAN_VERSION_NUMBER_TEXT)
VEMO_VERSION=$(version_of VEMO_VERSION_NUMBER_TEXT)
# The two tools have their own version numbers; the package carries both.
VERSION="$ORLIPAN_VERSION-$VEMO_VERSION"

build_arch() {  # arch
    local arch=$1 dir="$ROOT/build/$1"
    echo "release: cross-building $arch"
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" >/dev/null
    # What the zips hold: the tools, the kit's runner and every test program
    # ctest lists (the kit's programs); the benchmark and picture helpers go
    # into no zip.
    local programs
    mapfile -t programs < <(ctest --test-dir "$dir" -N | sed -n 's/^ *Test *#[0-9]*: *//p')
    [ ${#programs[@]} -gt 0 ] || fail "ctest lists no tests in $dir"
    cmake --build "$dir" --target orlipan vemo test_runner "${programs[@]}"
}

# objdump names the machine of a PE file; a package must not ship the wrong one.
expected_format() {  # arch
    case $1 in
        i686) echo pei-i386 ;;
        x86_64) echo pei-x86-64 ;;
    esac
}

check_executable() {  # arch file
    local format
    format=$("$1-w64-mingw32-objdump" -f "$2" 2>/dev/null | sed -n 's/.*file format //p')
    [ "$format" = "$(expected_format "$1")" ] ||
        fail "$2 is '${format:-not a PE file}', expected $(expected_format "$1")"
}

# The pictures the manual refers to must all be there.
check_pictures() {
    local page image missing=0
    for page in "$ROOT"/docs/*.md; do
        while read -r image; do
            if [ ! -f "$ROOT/docs/$image" ]; then
                echo "release: $(basename "$page") shows docs/$image, which is missing" >&2
                missing=1
            fi
        done < <(grep -o 'images/[A-Za-z0-9_.-]*\.png' "$page" | sort -u)
    done
    return "$missing"
}

ls "$ROOT"/docs/*.md >/dev/null 2>&1 || fail "no manual in docs/"
ls "$ROOT"/examples/*.cmd >/dev/null 2>&1 || fail "no example batch files in examples/"
[ -f "$ROOT/LICENSE" ] || fail "LICENSE is missing"
[ -f "$NOTICES" ] || fail "THIRD_PARTY_NOTICES.txt is missing"
if ! check_pictures; then
    [ -n "${DISPLAY:-}" ] || fail "pictures missing and no DISPLAY to take them (tests/screenshots.sh)"
    echo "release: taking the manual's pictures"
    # PICTURES_ARCH=x86_64 where the host runs no 32-bit programs (build.sh).
    for tool in "${TOOLS[@]}"; do
        [ -f "$ROOT/build/$PICTURES_ARCH/bin/$tool" ] || build_arch "$PICTURES_ARCH"
    done
    "$ROOT/tests/screenshots.sh" "$ROOT/build/$PICTURES_ARCH/bin" "$ROOT/docs/images"
    check_pictures || fail "the pictures could not be taken"
fi

for arch in "${ARCHES[@]}"; do
    for program in "${TOOLS[@]}" test_runner.exe; do
        if [ ! -f "$ROOT/build/$arch/bin/$program" ]; then
            build_arch "$arch"
            break
        fi
    done
done

rm -rf "$DIST"
mkdir -p "$DIST"
DIST=$(cd "$DIST" && pwd)
STAGE=$(mktemp -d "${TMPDIR:-/tmp}/orlipan-release.XXXXXX")
trap 'rm -rf "$STAGE"' EXIT

# Fixed file times make the archives depend on their contents only.
STAMP=${SOURCE_DATE_EPOCH:-$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || date +%s)}

for arch in "${ARCHES[@]}"; do
    name="orlipan-vemo-$VERSION-$arch"
    top="$STAGE/$name"
    mkdir -p "$top/docs/images" "$top/examples"
    for tool in "${TOOLS[@]}"; do
        check_executable "$arch" "$ROOT/build/$arch/bin/$tool"
        check_notices "$ROOT/build/$arch/bin/$tool"
        cp "$ROOT/build/$arch/bin/$tool" "$top/"
    done
    cp "$ROOT/LICENSE" "$ROOT/THIRD_PARTY_NOTICES.txt" "$top/"
    cp "$ROOT"/docs/*.md "$top/docs/"
    cp "$ROOT"/docs/images/*.png "$top/docs/images/"
    cp "$ROOT"/examples/*.cmd "$top/examples/"
    cp "$ROOT"/examples/*.txt "$top/examples/" 2>/dev/null || true
    # Batch files need CR LF line ends for cmd.exe, whatever the checkout did.
    for f in "$top"/examples/*.cmd; do
        sed -i 's/\r$//; s/$/\r/' "$f"
    done
    # Neither the umask nor the clock of the packing machine reaches the zip.
    chmod -R u=rwX,go=rX "$top"
    find "$top" -exec touch -h -d "@$STAMP" {} +
    (cd "$STAGE" && find "$name" -type f | LC_ALL=C sort |
        TZ=UTC zip -q -X -9 "$DIST/$name.zip" -@)
    zip -q -T "$DIST/$name.zip" >/dev/null || fail "$name.zip does not test sound"
    echo "release: $name.zip ($(find "$top" -type f | wc -l) files)"
    SOURCE_DATE_EPOCH=$STAMP "$ROOT/tests/pack_kit.sh" "$ROOT/build/$arch" "$arch" "$DIST" >/dev/null
done

(cd "$DIST" && sha256sum -- *.zip >SHA256SUMS)
echo "release: $DIST/SHA256SUMS"
cat "$DIST/SHA256SUMS"
