#include "orlipan/line_store.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

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

size_t index_bytes(const LineStore& store) {
    return static_cast<size_t>(store.capacity) * sizeof(char*);
}

bool charge(LineBytes* bytes, size_t size) {
    if (size > bytes->byte_limit - bytes->bytes_held)
        return false;
    bytes->bytes_held += size;
    return true;
}

// A new block with room for `carry` bytes of an unfinished line, which move
// over from the current block.
bool start_block(LineBytes* r, size_t carry) {
    LineBlock* old = r->blocks;
    size_t size = old ? old->capacity * 2 : FIRST_BLOCK;
    if (size > LARGEST_BLOCK)
        size = LARGEST_BLOCK;
    if (carry > SIZE_MAX / 2 - sizeof(LineBlock) - FIRST_BLOCK)
        return false;
    if (size < carry * 2 + FIRST_BLOCK)
        size = carry * 2 + FIRST_BLOCK;
    if (!charge(r, size))
        return false;
    LineBlock* block = static_cast<LineBlock*>(std::malloc(sizeof(LineBlock) + size));
    if (!block)
        return false;
    block->capacity = size;
    block->filled = carry;
    if (carry)
        std::memcpy(block->bytes, old->bytes + r->line_start, carry);
    block->next = old;
    r->blocks = block;
    r->line_start = 0;
    return true;
}

// Ends the lines found in bytes [from, block->filled) of the current block.
void split_lines(LineBytes* r, size_t from, std::vector<char*>* ended) {
    char* bytes = r->blocks->bytes;
    size_t end = r->blocks->filled;
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
        ended->push_back(bytes + r->line_start);
        r->line_start = i + 1;
        r->after_cr = c == '\r';
    }
}

// Ends the last line, which had no line end of its own.
void end_last_line(LineBytes* r, std::vector<char*>* ended) {
    LineBlock* block = r->blocks;
    if (block && r->line_start < block->filled) {
        block->bytes[block->filled] = '\0';
        ended->push_back(block->bytes + r->line_start);
        r->line_start = block->filled;
    }
}

bool grow_index(LineStore* store, int capacity) {
    if (capacity >= INT_MAX / 2)
        return false;
    size_t bytes = static_cast<size_t>(capacity) * sizeof(char*);
    if (bytes - index_bytes(*store) > store->byte_limit - store->bytes_held)
        return false;
    char** lines = static_cast<char**>(std::realloc(store->lines, bytes));
    if (!lines)
        return false;
    store->bytes_held += bytes - index_bytes(*store);
    store->lines = lines;
    store->capacity = capacity;
    return true;
}

}  // namespace

LineStep read_line_step(LineBytes* r, const ByteSource& source, std::vector<char*>* ended) {
    if (!r->blocks && !start_block(r, 0))
        return LINE_STEP_FULL;
    LineBlock* block = r->blocks;
    // One byte always stays free for the zero after an unended last line.
    size_t room = block->capacity - block->filled - 1;
    if (room == 0) {
        if (!start_block(r, block->filled - r->line_start))
            return LINE_STEP_FULL;
        block = r->blocks;
        room = block->capacity - block->filled - 1;
    }
    int ask = room > static_cast<size_t>(LARGEST_READ) ? LARGEST_READ : static_cast<int>(room);
    int got = source(block->bytes + block->filled, ask);
    if (got <= 0) {
        end_last_line(r, ended);
        return LINE_STEP_END;
    }
    if (got > ask)
        got = ask;
    size_t from = block->filled;
    block->filled += static_cast<size_t>(got);
    split_lines(r, from, ended);
    return LINE_STEP_MORE;
}

void free_line_bytes(LineBytes* bytes) {
    while (bytes->blocks) {
        LineBlock* next = bytes->blocks->next;
        std::free(bytes->blocks);
        bytes->blocks = next;
    }
    bytes->bytes_held = 0;
}

bool add_lines(LineStore* store, char* const* ended, size_t count, int expected,
               bool* guess_refused) {
    if (count > static_cast<size_t>(INT_MAX - store->count))
        return false;
    int needed = store->count + static_cast<int>(count);
    if (needed > store->capacity) {
        // A good guess at the whole list moves the index once, not at every
        // doubling, and leaves no doubling's worth of room unused.
        bool grown = false;
        if (expected >= needed) {
            grown = grow_index(store, expected);
            if (!grown && guess_refused)
                *guess_refused = true;
        } else if (expected > 0 && needed < INT_MAX / 4) {
            // The guess fell short near the end: a little more will do.
            grown = grow_index(store, needed + needed / 8);
        }
        int capacity = store->capacity ? store->capacity : 1024;
        while (capacity < needed)
            capacity = capacity >= INT_MAX / 2 ? INT_MAX : capacity * 2;
        if (!grown && !grow_index(store, capacity))
            return false;
    }
    std::copy(ended, ended + count, store->lines + store->count);
    store->count = needed;
    return true;
}

LinesResult read_all_lines(LineStore* store, const ByteSource& source) {
    LineBytes bytes;
    std::vector<char*> ended;
    LineStep step = LINE_STEP_MORE;
    bool added = true;
    while (step == LINE_STEP_MORE && added) {
        // One limit over the index and the bytes together.
        bytes.byte_limit = store->byte_limit - index_bytes(*store);
        step = read_line_step(&bytes, source, &ended);
        store->bytes_held = index_bytes(*store) + bytes.bytes_held;
        added = add_lines(store, ended.data(), ended.size());
        ended.clear();
    }
    store->blocks = bytes.blocks;
    return step == LINE_STEP_FULL || !added ? LINES_TOO_LARGE : LINES_OK;
}

void free_lines(LineStore* store) {
    LineBytes owned;
    owned.blocks = store->blocks;
    free_line_bytes(&owned);
    store->blocks = nullptr;
    std::free(store->lines);
    store->lines = nullptr;
    store->count = store->capacity = 0;
    store->bytes_held = 0;
}
