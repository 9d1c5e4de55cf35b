#include "orlipan/column_sort.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "frame/utf8.h"
#include "orlipan/number_cell.h"
#include "orlipan/order_keys.h"
#include "orlipan/tab_fields.h"
#include "orlipan/unicode_fold.h"

namespace {

// Where a cell's folded bytes lie in the folded text of the column.
struct FoldedCell {
    size_t offset;
    size_t length;
};

FieldSpan cell_of(const char* line, const ColumnSort& sort) {
    if (sort.split_tabs)
        return tab_field(line, sort.column);
    FieldSpan whole;
    whole.start = line;
    whole.length = std::strlen(line);
    return whole;
}

// A cell of nothing but spaces shows as empty and sorts as empty.
bool is_empty_cell(const FieldSpan& cell) {
    for (size_t i = 0; i < cell.length; ++i) {
        if (cell.start[i] != ' ')
            return false;
    }
    return true;
}

// The cells of one column, read from the lines whenever they are needed
// rather than kept: a million spans would cost more to keep than to find.
struct Column {
    const char* const* lines;
    int count;
    ColumnSort sort;
};

FieldSpan cell_at(const Column& column, int line) {
    return cell_of(column.lines[line], column.sort);
}

// A key for every non-empty cell as a number, or false at the first cell
// that is none. `empty` gets the lines whose cell is empty, in order.
bool number_keys(const Column& column, std::vector<OrderKey>* keys, std::vector<ExactNumber>* exact,
                 std::vector<int>* empty) {
    for (int line = 0; line < column.count; ++line) {
        FieldSpan cell = cell_at(column, line);
        if (is_empty_cell(cell)) {
            empty->push_back(line);
            continue;
        }
        NumberScan scan;
        if (!scan_number_cell(cell.start, cell.length, &scan))
            return false;
        OrderKey key;
        key.key = order_bits(number_value(scan));
        key.line = line;
        key.extra = -1;
        if (is_long_number(scan)) {
            key.extra = static_cast<int32_t>(exact->size());
            exact->push_back(exact_number(scan));
        }
        keys->push_back(key);
    }
    return true;
}

const ExactNumber& exact_of_key(const OrderKey& key, const Column& column,
                                const std::vector<ExactNumber>& exact, ExactNumber* scratch) {
    if (key.extra >= 0)
        return exact[static_cast<size_t>(key.extra)];
    FieldSpan cell = cell_at(column, key.line);
    NumberScan scan;
    scan_number_cell(cell.start, cell.length, &scan);
    *scratch = exact_number(scan);
    return *scratch;
}

// Equal doubles hide a difference only when one of them is long: such runs
// are sorted again, digit by digit.
void sort_numbers(std::vector<OrderKey>* keys, const Column& column,
                  const std::vector<ExactNumber>& exact) {
    const bool descending = column.sort.descending;
    if (descending) {
        for (OrderKey& key : *keys)
            key.key = ~key.key;
    }
    OrderScratch scratch;
    sort_order_keys(keys, 0, keys->size(), &scratch);
    auto before = [&](const OrderKey& a, const OrderKey& b) {
        ExactNumber a_short;
        ExactNumber b_short;
        int c = compare_exact_numbers(exact_of_key(a, column, exact, &a_short),
                                      exact_of_key(b, column, exact, &b_short));
        return descending ? c > 0 : c < 0;
    };
    for (size_t begin = 0; begin < keys->size();) {
        size_t end = begin + 1;
        bool long_number = (*keys)[begin].extra >= 0;
        for (; end < keys->size() && (*keys)[end].key == (*keys)[begin].key; ++end)
            long_number = long_number || (*keys)[end].extra >= 0;
        if (long_number && end - begin > 1)
            std::stable_sort(keys->begin() + begin, keys->begin() + end, before);
        begin = end;
    }
}

void append_utf8(char32_t c, std::string* out) {
    if (c < 0x80) {
        *out += static_cast<char>(c);
    } else if (c < 0x800) {
        *out += static_cast<char>(0xC0 | c >> 6);
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out += static_cast<char>(0xE0 | c >> 12);
        *out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | c >> 18);
        *out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        *out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Folded straight into the column's text, as fold_utf8_text folds: bytes
// that are not UTF-8 stay as they are.
void fold_cell(const FieldSpan& cell, const LineFold& fold, std::string* folded) {
    const char* at = cell.start;
    const char* end = cell.start + cell.length;
    while (at < end) {
        const unsigned char byte = static_cast<unsigned char>(*at);
        if (!fold.unicode) {
            *folded += static_cast<char>(fold.table[byte]);
            ++at;
        } else if (byte < 0x80) {
            *folded += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
            ++at;
        } else {
            char32_t c = 0;
            size_t size = decode_utf8(at, end, &c);
            if (c == UTF8_REPLACEMENT) {
                folded->append(at, size);
            } else {
                append_utf8(fold_code_point(c), folded);
            }
            at += size;
        }
    }
}

// Every non-empty cell folded into `folded`, with a key that names its
// place in `texts`.
void text_keys(const Column& column, const LineFold& fold, std::vector<OrderKey>* keys,
               std::string* folded, std::vector<FoldedCell>* texts, std::vector<int>* empty) {
    size_t bytes = 0;
    for (int line = 0; line < column.count; ++line)
        bytes += cell_at(column, line).length;
    // Folding keeps most characters at their size.
    folded->reserve(bytes + bytes / 8);
    for (int line = 0; line < column.count; ++line) {
        FieldSpan cell = cell_at(column, line);
        if (is_empty_cell(cell)) {
            empty->push_back(line);
            continue;
        }
        FoldedCell text;
        text.offset = folded->size();
        fold_cell(cell, fold, folded);
        text.length = folded->size() - text.offset;
        keys->push_back({0, line, static_cast<int32_t>(texts->size())});
        texts->push_back(text);
    }
}

// Eight folded bytes from `at` on, the first one highest, zeros past the end:
// no cell holds a zero byte, so a shorter cell comes before a longer one
// that starts with it.
uint64_t chunk_at(const std::string& folded, const FoldedCell& cell, size_t at) {
    uint64_t chunk = 0;
    for (size_t i = at; i < at + 8; ++i) {
        unsigned char byte =
            i < cell.length ? static_cast<unsigned char>(folded[cell.offset + i]) : 0;
        chunk = chunk << 8 | byte;
    }
    return chunk;
}

constexpr size_t SORT_SMALL_RUN = 32;

// Sorted eight bytes at a time: lines whose first eight bytes are equal are
// sorted by the next eight, and so on, each step a stable radix sort; a few
// lines left are compared whole.
void sort_texts(std::vector<OrderKey>* keys, const std::string& folded,
                const std::vector<FoldedCell>& texts, bool descending) {
    struct Run {
        size_t begin;
        size_t end;
        size_t at;  // the bytes before it are equal in the whole run
    };
    std::vector<Run> runs = {{0, keys->size(), 0}};
    OrderScratch scratch;
    while (!runs.empty()) {
        Run run = runs.back();
        runs.pop_back();
        auto cell_of_key = [&](const OrderKey& key) -> const FoldedCell& {
            return texts[static_cast<size_t>(key.extra)];
        };
        if (run.end - run.begin <= SORT_SMALL_RUN) {
            auto before = [&](const OrderKey& a, const OrderKey& b) {
                const FoldedCell& x = cell_of_key(a);
                const FoldedCell& y = cell_of_key(b);
                size_t x_rest = x.length - std::min(x.length, run.at);
                size_t y_rest = y.length - std::min(y.length, run.at);
                int c = std::memcmp(folded.data() + x.offset + run.at,
                                    folded.data() + y.offset + run.at, std::min(x_rest, y_rest));
                if (c == 0 && x_rest != y_rest)
                    c = x_rest < y_rest ? -1 : 1;
                return descending ? c > 0 : c < 0;
            };
            std::stable_sort(keys->begin() + run.begin, keys->begin() + run.end, before);
            continue;
        }
        for (size_t i = run.begin; i < run.end; ++i) {
            uint64_t chunk = chunk_at(folded, cell_of_key((*keys)[i]), run.at);
            (*keys)[i].key = descending ? ~chunk : chunk;
        }
        sort_order_keys(keys, run.begin, run.end, &scratch);
        for (size_t begin = run.begin; begin < run.end;) {
            size_t end = begin + 1;
            bool longer = cell_of_key((*keys)[begin]).length > run.at + 8;
            for (; end < run.end && (*keys)[end].key == (*keys)[begin].key; ++end)
                longer = longer || cell_of_key((*keys)[end]).length > run.at + 8;
            if (longer && end - begin > 1)
                runs.push_back({begin, end, run.at + 8});
            begin = end;
        }
    }
}

}  // namespace

bool read_number_cell(const char* start, size_t length, double* value) {
    NumberScan scan;
    if (!scan_number_cell(start, length, &scan))
        return false;
    *value = number_value(scan);
    return true;
}

std::vector<int> column_order(const char* const* lines, int count, const ColumnSort& sort,
                              const LineFold& fold) {
    std::vector<int> order;
    if (count <= 0)
        return order;
    order.reserve(static_cast<size_t>(count));
    const Column column = {lines, count, sort};
    std::vector<OrderKey> keys;
    keys.reserve(static_cast<size_t>(count));
    std::vector<ExactNumber> exact;
    std::vector<int> empty;
    if (number_keys(column, &keys, &exact, &empty)) {
        sort_numbers(&keys, column, exact);
    } else {
        keys.clear();
        empty.clear();
        std::string folded;
        std::vector<FoldedCell> texts;
        texts.reserve(static_cast<size_t>(count));
        text_keys(column, fold, &keys, &folded, &texts, &empty);
        sort_texts(&keys, folded, texts, sort.descending);
    }
    // Empty cells compare equal among themselves and below all others.
    if (!sort.descending)
        order = empty;
    for (const OrderKey& key : keys)
        order.push_back(key.line);
    if (sort.descending)
        order.insert(order.end(), empty.begin(), empty.end());
    return order;
}
