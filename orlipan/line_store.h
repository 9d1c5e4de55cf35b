// All lines of a list, held once: the bytes sit in a few large blocks with
// every line end turned into a zero byte, and an index points at each line's
// start. A window drawing a million lines asks here for the few it shows.
//
// No code page or byte-order mark is interpreted. CR LF, LF, CR and a zero
// byte each end a line, a CR LF split between two reads is still one line
// end, and the last line needs no terminator.
#pragma once

#include <cstddef>
#include <functional>

// Fills `buffer` with up to `capacity` bytes and returns how many it put
// there; 0 (or less) means the end of the file, which a read error also is.
using ByteSource = std::function<int(char* buffer, int capacity)>;

enum LinesResult {
    LINES_OK = 0,
    LINES_TOO_LARGE = 1,  // the memory or the line count ran out
};

struct LineBlock;

struct LineStore {
    LineBlock* blocks = nullptr;  // newest first
    char** lines = nullptr;
    int count = 0;
    int capacity = 0;
    size_t bytes_held = 0;
    // Tests lower this to reach the too-large path without filling the memory.
    size_t byte_limit = static_cast<size_t>(-1);
};

// Reads `source` to its end. On LINES_TOO_LARGE the lines read so far stay.
LinesResult read_all_lines(LineStore* store, const ByteSource& source);
inline int line_count(const LineStore& store) {
    return store.count;
}
// Zero-terminated; writable in place for conversions that keep the length.
inline char* line_at(const LineStore& store, int index) {
    return store.lines[index];
}
void free_lines(LineStore* store);
