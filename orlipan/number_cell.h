// Reading a cell of a column as a number, for sorting by value: signs,
// digit groups and a decimal point as column_sort.h describes, and the digits
// themselves where a double cannot tell two numbers apart.
#pragma once

#include <cstddef>
#include <string>

// A double holds every decimal of up to this many digits apart from its
// neighbours; two cells with more may read as one double and need their
// digits to tell them apart.
constexpr size_t NUMBER_EXACT_DIGITS = 15;

// Where the parts of a number cell lie. The whole part may hold commas; the
// fraction, if any, follows the point.
struct NumberScan {
    bool negative = false;
    const char* whole = nullptr;
    const char* whole_end = nullptr;
    const char* fraction = nullptr;
    const char* fraction_end = nullptr;
};

// True when [start, start + length) is a number; `scan` gets its parts.
bool scan_number_cell(const char* start, size_t length, NumberScan* scan);
// More significant digits than a double keeps apart.
bool is_long_number(const NumberScan& scan);
// Correctly rounded, in any locale; past the range of a double, infinity
// (or zero for the smallest fractions) with the number's sign.
double number_value(const NumberScan& scan);

// A number too long for a double to tell it from its neighbours.
struct ExactNumber {
    int sign = 0;  // -1, 0 or 1
    size_t whole_digits = 0;
    std::string digits;
};

ExactNumber exact_number(const NumberScan& scan);
// Below zero, zero or above zero as `a` is less than, equal to or more than `b`.
int compare_exact_numbers(const ExactNumber& a, const ExactNumber& b);
