// Sorting the lines of a list by one column, as a click on the column's
// header asks: numbers as numbers when every non-empty cell of the column is
// a number, otherwise as text without regard to case.
#pragma once

#include <cstddef>
#include <vector>

#include "orlipan/line_filter.h"

// A cell that reads as a number: spaces around it allowed, an optional sign,
// digits (groups of three may be set apart by commas: 1,234,567) and an
// optional point followed by digits. *value gets it when the cell is one.
bool read_number_cell(const char* start, size_t length, double* value);

// What to sort by: column `column` (0-based); with `split_tabs` false the
// line is one column, tabs and all.
struct ColumnSort {
    int column = 0;
    bool split_tabs = false;
    bool descending = false;
};

// The numbers 0 .. count - 1 of `lines` in the order `sort` asks for. Cells
// that compare equal keep the order they have in the list, also descending;
// an empty cell (or one of spaces only) comes before every other in
// ascending order. Text compares byte by byte after folding each character
// with `fold`.
std::vector<int> column_order(const char* const* lines, int count, const ColumnSort& sort,
                              const LineFold& fold);
