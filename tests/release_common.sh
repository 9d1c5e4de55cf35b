# Shared by the release scripts (release.sh, pack_kit.sh), which source it
# after setting ROOT (the checkout) and SCRIPT (the name their reports carry).

fail() {
    echo "$SCRIPT: $*" >&2
    exit 1
}

version_of() {  # macro name
    local value
    value=$(sed -n "s/^#define $1 \"\\([^\"]*\\)\".*/\\1/p" "$ROOT/resources/version.h")
    [ -n "$value" ] || fail "$1 not found in resources/version.h"
    printf '%s' "$value"
}

# ORLIPAN_NOTICES names another notices file, for the check of this check.
NOTICES=${ORLIPAN_NOTICES:-$ROOT/THIRD_PARTY_NOTICES.txt}

# Every Debian package whose files the linker put into an executable (read
# from the map the build writes beside it) must be named on a "Debian
# packages:" line of the notices file. Inputs with relative paths are our own
# objects; an input from outside the checkout that no package owns fails too.
declare -A PACKAGE_OF=()
check_notices() {  # executable...
    local named exe map input package
    named=" $(sed -n 's/^Debian packages: *//p' "$NOTICES" | tr '\n' ' ') "
    for exe in "$@"; do
        map="$exe.map"
        [ -f "$map" ] || fail "no linker map beside $exe: build it again"
        while read -r input; do
            input=$(realpath -m "$input")
            [[ $input == "$ROOT"/* ]] && continue
            if [ -z "${PACKAGE_OF[$input]+set}" ]; then
                PACKAGE_OF[$input]=$(dpkg -S "$input" 2>/dev/null | head -1 | cut -d: -f1) || true
            fi
            package=${PACKAGE_OF[$input]}
            [ -n "$package" ] ||
                fail "$(basename "$exe") links $input, which no Debian package owns;" \
                    "name its origin and licence in THIRD_PARTY_NOTICES.txt and here"
            [[ $named == *" $package "* ]] ||
                fail "$(basename "$exe") links $input from the Debian package $package," \
                    "which THIRD_PARTY_NOTICES.txt does not name"
        done < <(sed -n 's/^LOAD \(\/.*\)$/\1/p' "$map" | sort -u)
    done
}
