# Sourced by build.sh: the release checks of a test run, a second build that
# must give the same zips and a notice that must not be missing.

# A second build of the same sources in another folder must give zips with
# the same SHA-256 as the builds above. The sources are copied before
# anything else runs (the pictures are taken anew meanwhile), and the second
# build, which needs nothing else, starts at once at the lowest priority and
# takes what the first builds and the Wine suites leave of the processors.
# The first zips are packed when both first builds are made.
REPRO="$BUILD/repro"
copy_sources() {
    rm -rf "$REPRO"
    mkdir -p "$REPRO/src"
    (cd "$ROOT" && git ls-files -co --exclude-standard -z | tar --null -T - -cf -) |
        tar -xf - -C "$REPRO/src"
}
build_second() {
    nice -n 19 "$REPRO/src/tests/release.sh" "$REPRO/src" "$REPRO/second" \
        >"$REPRO/second.log" 2>&1 || {
        cat "$REPRO/second.log"
        exit 1
    }
    echo "second build: $(grep -c '\.zip$' "$REPRO/second/SHA256SUMS") zips, log $REPRO/second.log"
}
pack_first() {
    "$ROOT/tests/release.sh" "$ROOT" "$REPRO/first" >/dev/null
}
# The release must refuse an executable that links a library the notices do
# not name: here the C++ library's packages are struck from a copy of them.
check_notices_guard() {
    local trimmed="$BUILD/notices-check/notices.txt" log="$BUILD/notices-check/pack.log"
    mkdir -p "$BUILD/notices-check"
    sed '/^Debian packages:/ s/ g++-mingw-w64-[^ ]*//g' "$ROOT/THIRD_PARTY_NOTICES.txt" >"$trimmed"
    if ORLIPAN_NOTICES=$trimmed "$ROOT/tests/pack_kit.sh" "$BUILD/x86_64" x86_64 \
        "$BUILD/notices-check" >"$log" 2>&1; then
        echo "the test kit was packed though the notices lack the C++ library" >&2
        exit 1
    fi
    grep 'which THIRD_PARTY_NOTICES.txt does not name' "$log" || {
        cat "$log"
        echo "packing failed, but not for the missing notice" >&2
        exit 1
    }
}
check_reproducible() {
    if ! cmp -s "$REPRO/first/SHA256SUMS" "$REPRO/second/SHA256SUMS"; then
        echo "the two builds differ:" >&2
        diff "$REPRO/first/SHA256SUMS" "$REPRO/second/SHA256SUMS" >&2 || true
        exit 1
    fi
    cat "$REPRO/first/SHA256SUMS"
    echo "both builds gave these zips"
}
