// Finding the widest lines of a list without measuring every line through the
// system: each line's width is estimated from the font's advance width of
// every byte value, and only the few widest by that estimate are measured for
// real (kerning and multi-byte characters make the estimate inexact).
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "orlipan/line_store.h"

constexpr int WIDEST_CANDIDATES = 8;

// Sum of the advance widths of the line's bytes.
long long estimated_width(const char* line, const int widths[256]);
// Indexes of up to `wanted` lines with the largest estimates, widest first;
// among equal estimates the earlier line comes first.
std::vector<int> widest_line_candidates(const LineStore& store, const int widths[256], int wanted);

// The line of lines[0 .. count - 1] with the largest estimate, the first
// among equals; index -1 for no lines. One pass and no allocation, for lines
// that arrive while the list shows.
struct WidestEstimate {
    long long width = -1;
    int index = -1;
};
WidestEstimate widest_estimate(const char* const* lines, int count, const int widths[256]);

// The same with any estimate of a line's width.
using LineEstimate = std::function<long long(const char* line)>;
std::vector<int> widest_line_candidates(const LineStore& store, const LineEstimate& estimate,
                                        int wanted);

// Lines in columns (/tab): for each of `columns` columns, up to `wanted`
// line numbers among lines[0 .. count - 1] whose cells in that column have the
// largest estimates, widest first. The last column holds the rest of a line.
using SpanEstimate = std::function<long long(const char* start, size_t length)>;
std::vector<std::vector<int>> widest_cell_candidates(const char* const* lines, int count,
                                                     int columns, const SpanEstimate& estimate,
                                                     int wanted);
long long estimated_span_width(const char* start, size_t length, const int widths[256]);

// UTF-8 lines: advance widths by code point, asked of the font a page of 256
// code points at a time, as the lines come to need them. A page that cannot
// be measured counts nothing; a code point beyond the 16-bit range counts as
// the replacement character, the one sure to be in the page it shares.
using WidthPage = std::function<bool(unsigned first, int widths[256])>;
struct CodePointWidths {
    WidthPage measure_page;
    std::vector<std::vector<int>> pages;  // by page number; empty until needed
};
// Sum of the advance widths of the line's characters, an invalid sequence
// counting as the replacement character it is shown as.
long long estimated_utf8_width(const char* line, CodePointWidths* widths);
// The same for `length` bytes from `start`, which end at a tab or the line's end.
long long estimated_utf8_span_width(const char* start, size_t length, CodePointWidths* widths);
