#include "orlipan/number_cell.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace {

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

}  // namespace

// A point needs digits after it ("1." is text); digits before it may be
// left out, so ".5" reads as 0.5.
bool scan_number_cell(const char* start, size_t length, NumberScan* scan) {
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

bool is_long_number(const NumberScan& scan) {
    // Counting the digits as written first spares a copy of nearly every cell.
    size_t written = static_cast<size_t>(scan.whole_end - scan.whole) +
                     static_cast<size_t>(scan.fraction_end - scan.fraction);
    size_t whole_digits = 0;
    return written > NUMBER_EXACT_DIGITS &&
           significant_digits(scan, &whole_digits).size() > NUMBER_EXACT_DIGITS;
}

double number_value(const NumberScan& scan) {
    // from_chars reads the same in every locale and rounds correctly, so
    // the order of the values is the order of the numbers. Nearly every cell
    // fits the buffer on the stack: a million cells, no allocation.
    const size_t fraction_size = static_cast<size_t>(scan.fraction_end - scan.fraction);
    const size_t most = static_cast<size_t>(scan.whole_end - scan.whole) + fraction_size + 2;
    char short_text[64];
    std::string long_text;
    if (most > sizeof short_text)
        long_text.resize(most);
    char* text = most > sizeof short_text ? &long_text[0] : short_text;
    size_t size = 0;
    for (const char* p = scan.whole; p < scan.whole_end; ++p) {
        if (*p != ',')
            text[size++] = *p;
    }
    if (size == 0)
        text[size++] = '0';
    if (fraction_size > 0) {
        text[size++] = '.';
        std::memcpy(text + size, scan.fraction, fraction_size);
        size += fraction_size;
    }
    double value = 0;
    std::from_chars_result result = std::from_chars(text, text + size, value);
    if (result.ec == std::errc::result_out_of_range) {
        size_t whole_digits = 0;
        significant_digits(scan, &whole_digits);
        value = whole_digits > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return scan.negative ? -value : value;
}

ExactNumber exact_number(const NumberScan& scan) {
    ExactNumber exact;
    exact.digits = significant_digits(scan, &exact.whole_digits);
    exact.sign = exact.digits.empty() ? 0 : scan.negative ? -1 : 1;
    return exact;
}

int compare_exact_numbers(const ExactNumber& a, const ExactNumber& b) {
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
