#include "orlipan/column_sort.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "orlipan/tab_fields.h"
#include "orlipan/unicode_fold.h"

namespace {

// A double holds every decimal of up to this many digits apart from its
// neighbours; two cells with more may read as one double and need their
// digits to tell them apart.
constexpr size_t SORT_EXACT_DIGITS = 15;

// Where the parts of a number cell lie. The whole part may hold commas; the
// fraction, if any, follows the point.
struct NumberScan {
    bool negative = false;
    const char* whole = nullptr;
    const char* whole_end = nullptr;
    const char* fraction = nullptr;
    const char* fraction_end = nullptr;
};

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Digits, or groups of three set apart by commas after a first group of one
// to three; returns where they end, or null when a comma breaks the grouping.
const char* scan_whole(const char* p, const char* end) {
    const char* start = p;
    while (p < end && is_digit(*p))
        ++p;
    if (p == end || *p != ',')
        return p;
    if (p - start < 1 || p - start > 3)
        return nullptr;
    while (p < end && *p == ',') {
        const char* group = ++p;
        while (p < end && is_digit(*p))
            ++p;
        if (p - group != 3)
            return nullptr;
    }
    return p;
}

// A point needs digits after it ("1." is text); digits before it may be
// left out, so ".5" reads as 0.5.
bool scan_number(const char* start, size_t length, NumberScan* scan) {
    const char* p = start;
    const char* end = start + length;
    while (p < end && *p == ' ')
        ++p;
    while (end > p && end[-1] == ' ')
        --end;
    if (p < end && (*p == '+' || *p == '-'))
        scan->negative = *p++ == '-';
    scan->whole = p;
    p = scan_whole(p, end);
    if (!p)
        return false;
    scan->whole_end = p;
    scan->fraction = scan->fraction_end = p;
    if (p < end && *p == '.') {
        scan->fraction = ++p;
        while (p < end && is_digit(*p))
            ++p;
        scan->fraction_end = p;
        if (p == scan->fraction)
            return false;
    }
    return p == end && (scan->whole_end > scan->whole || scan->fraction_end > scan->fraction);
}

// The digits that carry the value: the whole part without its leading zeros
// and commas, then the fraction without its trailing zeros. `whole_digits`
// gets how many of them come before the point.
std::string significant_digits(const NumberScan& scan, size_t* whole_digits) {
    std::string digits;
    for (const char* p = scan.whole; p < scan.whole_end; ++p) {
        if (is_digit(*p) && (*p != '0' || !digits.empty()))
            digits += *p;
    }
    *whole_digits = digits.size();
    const char* fraction_end = scan.fraction_end;
    while (fraction_end > scan.fraction && fraction_end[-1] == '0')
        --fraction_end;
    digits.append(scan.fraction, fraction_end);
    return digits;
}

size_t significant_count(const NumberScan& scan) {
    size_t whole_digits = 0;
    return significant_digits(scan, &whole_digits).size();
}

double value_of(const NumberScan& scan) {
    // from_chars reads the same in every locale and rounds correctly, so
    // the order of the values is the order of the numbers.
    std::string text;
    for (const char* p = scan.whole; p < scan.whole_end; ++p) {
        if (*p != ',')
            text += *p;
    }
    if (text.empty())
        text = "0";
    if (scan.fraction_end > scan.fraction) {
        text += '.';
        text.append(scan.fraction, scan.fraction_end);
    }
    double value = 0;
    std::from_chars_result result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        size_t whole_digits = 0;
        significant_digits(scan, &whole_digits);
        value = whole_digits > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return scan.negative ? -value : value;
}

// A number too long for a double to tell it from its neighbours.
struct ExactNumber {
    int sign = 0;  // -1, 0 or 1
    size_t whole_digits = 0;
    std::string digits;
};

ExactNumber exact_of(const NumberScan& scan) {
    ExactNumber exact;
    exact.digits = significant_digits(scan, &exact.whole_digits);
    exact.sign = exact.digits.empty() ? 0 : scan.negative ? -1 : 1;
    return exact;
}

int compare_exact(const ExactNumber& a, const ExactNumber& b) {
    if (a.sign != b.sign)
        return a.sign < b.sign ? -1 : 1;
    int magnitude = 0;
    if (a.whole_digits != b.whole_digits) {
        magnitude = a.whole_digits < b.whole_digits ? -1 : 1;
    } else {
        int c = a.digits.compare(b.digits);
        magnitude = c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    return a.sign < 0 ? -magnitude : magnitude;
}

struct NumberKey {
    double value;
    int32_t line;
    int32_t exact;  // index into the exact numbers, -1 for a short number
};

struct TextKey {
    uint64_t head;  // the first eight folded bytes, the first one highest
    size_t offset;  // of the folded cell in the folded text of all cells
    uint32_t length;
    int32_t line;
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

// Every non-empty cell as a number, or false at the first that is none.
bool number_keys(const std::vector<FieldSpan>& cells, const std::vector<int>& filled,
                 std::vector<NumberKey>* keys, std::vector<ExactNumber>* exact) {
    keys->reserve(filled.size());
    for (int line : filled) {
        const FieldSpan& cell = cells[static_cast<size_t>(line)];
        NumberScan scan;
        if (!scan_number(cell.start, cell.length, &scan))
            return false;
        NumberKey key;
        key.value = value_of(scan);
        key.line = line;
        key.exact = -1;
        if (static_cast<size_t>(scan.whole_end - scan.whole) +
                    static_cast<size_t>(scan.fraction_end - scan.fraction) >
                SORT_EXACT_DIGITS &&
            significant_count(scan) > SORT_EXACT_DIGITS) {
            key.exact = static_cast<int32_t>(exact->size());
            exact->push_back(exact_of(scan));
        }
        keys->push_back(key);
    }
    return true;
}

const ExactNumber& exact_of_key(const NumberKey& key, const std::vector<FieldSpan>& cells,
                                const std::vector<ExactNumber>& exact, ExactNumber* scratch) {
    if (key.exact >= 0)
        return exact[static_cast<size_t>(key.exact)];
    const FieldSpan& cell = cells[static_cast<size_t>(key.line)];
    NumberScan scan;
    scan_number(cell.start, cell.length, &scan);
    *scratch = exact_of(scan);
    return *scratch;
}

void fold_cell(const FieldSpan& cell, const LineFold& fold, std::string* folded) {
    if (fold.unicode) {
        *folded += fold_utf8_text(std::string(cell.start, cell.length));
        return;
    }
    for (size_t i = 0; i < cell.length; ++i)
        *folded += static_cast<char>(fold.table[static_cast<unsigned char>(cell.start[i])]);
}

std::vector<TextKey> text_keys(const std::vector<FieldSpan>& cells, const std::vector<int>& filled,
                               const LineFold& fold, std::string* folded) {
    std::vector<TextKey> keys;
    keys.reserve(filled.size());
    for (int line : filled) {
        TextKey key;
        key.offset = folded->size();
        fold_cell(cells[static_cast<size_t>(line)], fold, folded);
        key.length = static_cast<uint32_t>(folded->size() - key.offset);
        key.head = 0;
        for (size_t i = 0; i < 8; ++i) {
            unsigned char byte =
                i < key.length ? static_cast<unsigned char>((*folded)[key.offset + i]) : 0;
            key.head = key.head << 8 | byte;
        }
        key.line = line;
        keys.push_back(key);
    }
    return keys;
}

// Unequal cells in the asked direction, equal ones in list order: a total
// order, so an unstable sort leaves equal cells as a stable one would.
template <typename Key, typename Compare>
void sort_keys(std::vector<Key>* keys, bool descending, Compare compare) {
    std::sort(keys->begin(), keys->end(), [&](const Key& a, const Key& b) {
        int c = compare(a, b);
        if (c != 0)
            return descending ? c > 0 : c < 0;
        return a.line < b.line;
    });
}

template <typename Key>
void append_lines(const std::vector<Key>& keys, std::vector<int>* order) {
    for (const Key& key : keys)
        order->push_back(key.line);
}

}  // namespace

bool read_number_cell(const char* start, size_t length, double* value) {
    NumberScan scan;
    if (!scan_number(start, length, &scan))
        return false;
    *value = value_of(scan);
    return true;
}

std::vector<int> column_order(const char* const* lines, int count, const ColumnSort& sort,
                              const LineFold& fold) {
    std::vector<int> order;
    if (count <= 0)
        return order;
    order.reserve(static_cast<size_t>(count));
    std::vector<FieldSpan> cells(static_cast<size_t>(count));
    std::vector<int> empty;
    std::vector<int> filled;
    filled.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        cells[static_cast<size_t>(i)] = cell_of(lines[i], sort);
        (is_empty_cell(cells[static_cast<size_t>(i)]) ? empty : filled).push_back(i);
    }
    // Empty cells compare equal among themselves and below all others.
    if (!sort.descending)
        order = empty;
    std::vector<NumberKey> numbers;
    std::vector<ExactNumber> exact;
    if (number_keys(cells, filled, &numbers, &exact)) {
        sort_keys(&numbers, sort.descending, [&](const NumberKey& a, const NumberKey& b) {
            if (a.value != b.value)
                return a.value < b.value ? -1 : 1;
            if (a.exact < 0 && b.exact < 0)
                return 0;
            // Equal as doubles but one is long: both are read digit by digit.
            ExactNumber a_short;
            ExactNumber b_short;
            return compare_exact(exact_of_key(a, cells, exact, &a_short),
                                 exact_of_key(b, cells, exact, &b_short));
        });
        append_lines(numbers, &order);
    } else {
        std::vector<NumberKey>().swap(numbers);
        std::string folded;
        std::vector<TextKey> texts = text_keys(cells, filled, fold, &folded);
        const char* bytes = folded.data();
        sort_keys(&texts, sort.descending, [&](const TextKey& a, const TextKey& b) {
            if (a.head != b.head)
                return a.head < b.head ? -1 : 1;
            int c = std::memcmp(bytes + a.offset, bytes + b.offset, std::min(a.length, b.length));
            if (c != 0)
                return c;
            return a.length == b.length ? 0 : a.length < b.length ? -1 : 1;
        });
        append_lines(texts, &order);
    }
    if (sort.descending)
        order.insert(order.end(), empty.begin(), empty.end());
    return order;
}
