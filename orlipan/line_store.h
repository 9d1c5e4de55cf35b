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
#include <vector>

// Fills `buffer` with up to `capacity` bytes and returns how many it put
// there; 0 (or less) means the end of the file, which a read error also is.
using ByteSource = std::function<int(char* buffer, int capacity)>;

enum LinesResult {
    LINES_OK = 0,
    LINES_TOO_LARGE = 1,  // the memory or the line count ran out
};

struct LineBlock;

// The bytes of a list as they are read: blocks that never move once a line
// points into them, and the line not yet ended. A reading thread may own it
// while another thread holds the index of the lines it ended.
struct LineBytes {
    LineBlock* blocks = nullptr;  // newest first
    size_t line_start = 0;        // of the unended line, in blocks->bytes
    bool after_cr = false;        // the last line ended with a CR
    size_t bytes_held = 0;
    // Tests lower this to reach the too-large path without filling the memory.
    size_t byte_limit = static_cast<size_t>(-1);
};

enum LineStep {
    LINE_STEP_MORE = 0,  // more may come
    LINE_STEP_END = 1,   // the source ended; the last line is among the ended
    LINE_STEP_FULL = 2,  // the memory ran out
};

// One read from `source` (up to 1 MiB): the starts of the lines it ended,
// each now zero-terminated, are appended to `ended`.
LineStep read_line_step(LineBytes* bytes, const ByteSource& source, std::vector<char*>* ended);
void free_line_bytes(LineBytes* bytes);

// The lines of a list: the index, at most one pointer a line, and the
// blocks of bytes it points into when the store owns them.
struct LineStore {
    LineBlock* blocks = nullptr;
    char** lines = nullptr;
    int count = 0;
    int capacity = 0;
    size_t bytes_held = 0;
    // Tests lower this to reach the too-large path without filling the memory.
    size_t byte_limit = static_cast<size_t>(-1);
};

// Reads `source` to its end. On LINES_TOO_LARGE the lines read so far stay.
LinesResult read_all_lines(LineStore* store, const ByteSource& source);
// Adds lines ended by read_line_step to the index; false, with none added,
// when the index cannot grow. `expected` (0: unknown) is the number of lines
// the whole list is guessed to have, so that the index is moved seldom; when
// an index that large cannot be had, `guess_refused` is set and the index
// grows by need.
bool add_lines(LineStore* store, char* const* ended, size_t count, int expected = 0,
               bool* guess_refused = nullptr);
inline int line_count(const LineStore& store) {
    return store.count;
}
// Zero-terminated; writable in place for conversions that keep the length.
inline char* line_at(const LineStore& store, int index) {
    return store.lines[index];
}
void free_lines(LineStore* store);
