#include "orlipan/line_store.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

struct LineBlock {
    LineBlock* next;
    size_t capacity;
    size_t filled;
    char bytes[1];
};

namespace {

// Blocks grow with the list so a short list touches little memory and a
// long one needs few allocations.
constexpr size_t FIRST_BLOCK = 64 * 1024;
constexpr size_t LARGEST_BLOCK = 4 * 1024 * 1024;
// Reads are capped so a block is scanned while its bytes are still in cache.
constexpr int LARGEST_READ = 1024 * 1024;

struct Reading {
    LineStore* store;
    LineBlock* block = nullptr;
    size_t line_start = 0;  // in block->bytes
    bool after_cr = false;  // the last line ended with a CR
};

bool charge(LineStore* store, size_t bytes) {
    if (bytes > store->byte_limit - store->bytes_held)
        return false;
    store->bytes_held += bytes;
    return true;
}

// A new block with room for `carry` bytes of an unfinished line, which move
// over from the current block.
bool start_block(Reading* r, size_t carry) {
    size_t size = r->block ? r->block->capacity * 2 : FIRST_BLOCK;
    if (size > LARGEST_BLOCK)
        size = LARGEST_BLOCK;
    if (carry > SIZE_MAX / 2 - sizeof(LineBlock) - FIRST_BLOCK)
        return false;
    if (size < carry * 2 + FIRST_BLOCK)
        size = carry * 2 + FIRST_BLOCK;
    if (!charge(r->store, size))
        return false;
    LineBlock* block = static_cast<LineBlock*>(std::malloc(sizeof(LineBlock) + size));
    if (!block)
        return false;
    block->capacity = size;
    block->filled = carry;
    if (carry)
        std::memcpy(block->bytes, r->block->bytes + r->line_start, carry);
    block->next = r->store->blocks;
    r->store->blocks = block;
    r->block = block;
    r->line_start = 0;
    return true;
}

bool add_line(LineStore* store, char* start) {
    if (store->count == store->capacity) {
        if (store->capacity >= INT_MAX / 2)
            return false;
        int capacity = store->capacity ? store->capacity * 2 : 1024;
        size_t bytes = static_cast<size_t>(capacity) * sizeof(char*);
        if (!charge(store, bytes - static_cast<size_t>(store->capacity) * sizeof(char*)))
            return false;
        char** lines = static_cast<char**>(std::realloc(store->lines, bytes));
        if (!lines)
            return false;
        store->lines = lines;
        store->capacity = capacity;
    }
    store->lines[store->count++] = start;
    return true;
}

// Ends the lines found in bytes [from, block->filled) of the current block.
bool split_lines(Reading* r, size_t from) {
    char* bytes = r->block->bytes;
    size_t end = r->block->filled;
    for (size_t i = from; i < end; ++i) {
        char c = bytes[i];
        if (r->after_cr) {
            r->after_cr = false;
            if (c == '\n') {
                // The second half of a CR LF: no line of its own.
                bytes[i] = '\0';
                r->line_start = i + 1;
                continue;
            }
        }
        if (c != '\n' && c != '\r' && c != '\0')
            continue;
        bytes[i] = '\0';
        if (!add_line(r->store, bytes + r->line_start))
            return false;
        r->line_start = i + 1;
        r->after_cr = c == '\r';
    }
    return true;
}

}  // namespace

LinesResult read_all_lines(LineStore* store, const ByteSource& source) {
    Reading r;
    r.store = store;
    if (!start_block(&r, 0))
        return LINES_TOO_LARGE;
    for (;;) {
        LineBlock* block = r.block;
        // One byte always stays free for the zero after an unended last line.
        size_t room = block->capacity - block->filled - 1;
        if (room == 0) {
            if (!start_block(&r, block->filled - r.line_start))
                return LINES_TOO_LARGE;
            continue;
        }
        int ask = room > static_cast<size_t>(LARGEST_READ) ? LARGEST_READ : static_cast<int>(room);
        int got = source(block->bytes + block->filled, ask);
        if (got <= 0)
            break;
        if (got > ask)
            got = ask;
        size_t from = block->filled;
        block->filled += static_cast<size_t>(got);
        if (!split_lines(&r, from))
            return LINES_TOO_LARGE;
    }
    if (r.line_start < r.block->filled) {
        r.block->bytes[r.block->filled] = '\0';
        if (!add_line(store, r.block->bytes + r.line_start))
            return LINES_TOO_LARGE;
    }
    return LINES_OK;
}

void free_lines(LineStore* store) {
    while (store->blocks) {
        LineBlock* next = store->blocks->next;
        std::free(store->blocks);
        store->blocks = next;
    }
    std::free(store->lines);
    store->lines = nullptr;
    store->count = store->capacity = 0;
    store->bytes_held = 0;
}
