// Finding the widest lines of a list without measuring every line through the
// system: each line's width is estimated from the font's advance width of
// every byte value, and only the few widest by that estimate are measured for
// real (kerning and multi-byte characters make the estimate inexact).
#pragma once

#include <vector>

#include "orlipan/line_store.h"

constexpr int WIDEST_CANDIDATES = 8;

// Sum of the advance widths of the line's bytes.
long long estimated_width(const char* line, const int widths[256]);
// Indexes of up to `wanted` lines with the largest estimates, widest first;
// among equal estimates the earlier line comes first.
std::vector<int> widest_line_candidates(const LineStore& store, const int widths[256], int wanted);
