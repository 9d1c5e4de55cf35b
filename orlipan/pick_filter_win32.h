// The rows of the pick list: the lines under the header, in the order a
// click on a column's title chose, narrowed by the filter box of /filter.
// Without these the list shows the loaded lines directly, each row the line
// of the same number.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "orlipan/column_sort.h"
#include "orlipan/line_filter.h"
#include "orlipan/line_store.h"

constexpr int PICK_BOX_ID = 2;

// The rows of one pick list. The list asks it for the text of each row it
// draws, so it must stay in place while the list shows its lines.
struct PickFilter {
    // What the options ask of the rows: the box of /filter, menu mode (blank
    // lines are separators), UTF-8 lines, and /tab's fields to sort by.
    bool box = false;
    bool menu = false;
    bool utf8 = false;
    bool tabs = false;
    // The lines the list may show: those after the header, lines[0] being
    // line `first_line` of the list.
    const char* const* lines = nullptr;
    int count = 0;
    int first_line = 0;
    ShownLines shown;
    // The order of a click on a column's title; empty: the list's own order.
    std::vector<int> order;
    ColumnSort sort;
};

bool filtering(const PickFilter& filter);
// A text typed or given on the command line (UTF-8) in the encoding of the
// lines (UTF-8 with `utf8`, otherwise the ANSI code page): false when the
// list's code page lacks one of its characters. Such a text matches no line: a likeness of
// the character (? for Ж, l for ł) would find lines the user never meant.
bool text_in_lines_encoding(bool utf8, const std::string& text, std::string* bytes);
// Creates the box in the list's font and links it to the list (/filter only);
// returns its height, 0 without /filter.
int create_filter_box(const PickFilter& filter, HFONT font);
// Hands the list the lines of `lines` from `first_line` on, through the filter.
void start_filter(PickFilter& filter, const LineStore& lines, int first_line);
// Lines arrived after start_filter: the filter takes those of `lines` it has
// not seen yet. They join the list at its end, also after a sort, and show
// when they match the box text.
void add_filter_lines(PickFilter& filter, const LineStore& lines);
// After the box text changed: narrows or widens the list, then selects the
// first shown line (normal mode) or nothing (menu mode). The box holds
// UTF-8; a text the lines' code page cannot hold shows no line.
void refilter(PickFilter& filter);
// Sorts the shown lines by `column`; the same column again reverses the
// order. The lines selected stay selected. False, with the list as it was,
// when the sort cannot get its memory.
bool sort_rows(PickFilter& filter, int column);
// Empties the box if it holds text; true when it did.
bool clear_filter_box(const PickFilter& filter);
// The number in the whole list of the line that list row `row` shows.
int line_of_row(const PickFilter& filter, int row);
// The list row that shows line `line` of the whole list; -1 when the filter
// or the header hides it.
int row_of_line(const PickFilter& filter, int line);
// The rows the list shows through the filter.
int shown_row_count(const PickFilter& filter);
