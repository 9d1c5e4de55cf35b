#include "orlipan/pick_filter_win32.h"

#include <algorithm>
#include <new>

#include "frame/fault_point.h"
#include "frame/text.h"
#include "orlipan/pick_output.h"
#include "toolkit/toolkit.h"

namespace {

// The index in `filter.lines` of the line that row `row` shows.
int shown_index(const PickFilter& filter, int row) {
    if (!filter.shown.all)
        return filter.shown.rows[static_cast<size_t>(row)];
    return filter.order.empty() ? row : filter.order[static_cast<size_t>(row)];
}

const char* shown_text(int row, void* context) {
    const PickFilter& filter = *static_cast<const PickFilter*>(context);
    return filter.lines[shown_index(filter, row)];
}

int shown_rows(const PickFilter& filter) {
    return shown_count(filter.shown, filter.count);
}

// The shown text of a box text that the lines' code page cannot hold. No box
// text holds a NUL, so the next text is filtered afresh, never narrowed from
// this one's empty rows.
const std::string PICK_UNHELD_TEXT(1, '\0');

// Brings the shown rows to `text`, in the list's present order.
void narrow(PickFilter& filter, const std::string& text) {
    if (text == PICK_UNHELD_TEXT) {
        filter.shown.all = false;
        filter.shown.rows.clear();
        filter.shown.text = text;
        return;
    }
    filter_lines(&filter.shown, text, filter.lines, filter.count, filter.menu,
                 fold_for_lines(filter.utf8), filter.order.empty() ? nullptr : &filter.order);
}

// The lines (indexes into filter.lines) whose rows are selected, in row
// order; none when every row is, which stays so whatever the order.
std::vector<int> chosen_lines(const PickFilter& filter) {
    std::vector<int> rows = list_selected_indexes(PICK_LIST_ID);
    std::vector<int> lines;
    if (rows.size() == static_cast<size_t>(shown_rows(filter)))
        return lines;
    for (int row : rows)
        lines.push_back(shown_index(filter, row));
    return lines;
}

// The row that shows each line now, -1 for a hidden one; nothing when no
// line is to be chosen again.
std::vector<int> rows_of_lines(const PickFilter& filter, const std::vector<int>& lines) {
    std::vector<int> row_of;
    if (lines.empty())
        return row_of;
    row_of.assign(static_cast<size_t>(filter.count), -1);
    int rows = shown_rows(filter);
    for (int row = 0; row < rows; ++row)
        row_of[static_cast<size_t>(shown_index(filter, row))] = row;
    return row_of;
}

// Rows now show other lines: the chosen lines are selected again where they
// are now (`row_of`, from rows_of_lines), the first of them focused and in
// view as before.
void choose_lines_again(const std::vector<int>& lines, const std::vector<int>& row_of) {
    if (lines.empty())
        return;
    int first = row_of[static_cast<size_t>(lines.front())];
    list_select(PICK_LIST_ID, first);
    for (int line : lines) {
        int row = row_of[static_cast<size_t>(line)];
        if (row >= 0 && row != first)
            list_add_selection(PICK_LIST_ID, row);
    }
}

}  // namespace

bool filtering(const PickFilter& filter) {
    return filter.box;
}

bool text_in_lines_encoding(bool utf8, const std::string& text, std::string* bytes) {
    if (utf8) {
        *bytes = text;
        return true;
    }
    return exact_from_wide_text(to_wide_text(text, TEXT_UTF8), TEXT_ANSI, bytes);
}

int create_filter_box(const PickFilter& filter, HFONT font) {
    if (!filtering(filter))
        return 0;
    create_edit_box(PICK_BOX_ID, 0, 0, 0, 0, "");
    // Read as UTF-8, so that refilter can tell a character the lines' code
    // page lacks from a likeness of it.
    set_control_encoding(PICK_BOX_ID, TEXT_UTF8);
    set_control_font(PICK_BOX_ID, font);
    link_edit_to_list(PICK_BOX_ID, PICK_LIST_ID);
    return edit_box_height(PICK_BOX_ID);
}

void start_filter(PickFilter& filter, const LineStore& lines, int first_line) {
    first_line = std::min(std::max(first_line, 0), line_count(lines));
    filter.lines = lines.lines + first_line;
    filter.count = line_count(lines) - first_line;
    filter.first_line = first_line;
    filter.shown = ShownLines();
    filter.order.clear();
    list_set_source(PICK_LIST_ID, shown_text, &filter, shown_rows(filter));
}

void add_filter_lines(PickFilter& filter, const LineStore& lines) {
    int old_count = filter.count;
    // The index may have moved to make room.
    filter.lines = lines.lines + filter.first_line;
    filter.count = line_count(lines) - filter.first_line;
    if (filter.count <= old_count)
        return;
    if (!filter.order.empty()) {
        for (int line = old_count; line < filter.count; ++line)
            filter.order.push_back(line);
    }
    if (filter.shown.text != PICK_UNHELD_TEXT)
        filter_more_lines(&filter.shown, filter.lines, old_count, filter.count, filter.menu,
                          fold_for_lines(filter.utf8));
    list_add_rows(PICK_LIST_ID, shown_rows(filter));
}

void refilter(PickFilter& filter) {
    if (!filter.lines || !filtering(filter))
        return;
    bool menu = filter.menu;
    std::string text;
    if (!text_in_lines_encoding(filter.utf8, control_text(PICK_BOX_ID), &text))
        text = PICK_UNHELD_TEXT;
    // A query put into the box at the start (/query) is filtered before the
    // window shows; the change it reports later must not undo the start's
    // selection.
    if (text == filter.shown.text && filter.shown.all == text.empty())
        return;
    narrow(filter, text);
    int rows = shown_rows(filter);
    list_set_source(PICK_LIST_ID, shown_text, &filter, rows);
    // The old selection named rows that now show other lines.
    list_select(PICK_LIST_ID, menu || rows == 0 ? -1 : 0);
    if (rows > 0)
        list_scroll_to(PICK_LIST_ID, 0);
}

bool sort_rows(PickFilter& filter, int column) {
    if (!filter.lines)
        return true;
    ColumnSort sort = filter.sort;
    bool reverse = !filter.order.empty() && sort.column == column;
    sort.descending = reverse ? !sort.descending : false;
    sort.column = column;
    sort.split_tabs = filter.tabs;
    // The new order, rows and selection are made beside the old ones, so
    // that a sort that cannot get its memory leaves the list as it was.
    PickFilter sorted;
    std::vector<int> chosen, row_of;
    try {
        chosen = chosen_lines(filter);
        fault_point("sort");
        sorted.order = column_order(filter.lines, filter.count, sort, fold_for_lines(filter.utf8));
        sorted.lines = filter.lines;
        sorted.count = filter.count;
        sorted.box = filter.box;
        sorted.menu = filter.menu;
        sorted.utf8 = filter.utf8;
        sorted.tabs = filter.tabs;
        if (!filter.shown.all) {
            // The rows kept so far are in the old order: filter the whole list anew.
            narrow(sorted, filter.shown.text);
        }
        row_of = rows_of_lines(sorted, chosen);
    } catch (const std::bad_alloc&) {
        return false;
    }
    filter.order.swap(sorted.order);
    filter.shown.rows.swap(sorted.shown.rows);
    filter.shown.all = sorted.shown.all;
    filter.sort = sort;
    list_set_source(PICK_LIST_ID, shown_text, &filter, shown_rows(filter));
    list_set_sort_mark(PICK_LIST_ID, column, sort.descending ? LIST_SORT_DOWN : LIST_SORT_UP);
    choose_lines_again(chosen, row_of);
    return true;
}

bool clear_filter_box(const PickFilter& filter) {
    if (!filtering(filter) || control_text(PICK_BOX_ID).empty())
        return false;
    set_control_text(PICK_BOX_ID, "");
    return true;
}

int line_of_row(const PickFilter& filter, int row) {
    if (!filter.lines || row < 0)
        return row;
    return filter.first_line + shown_index(filter, row);
}

int row_of_line(const PickFilter& filter, int line) {
    if (!filter.lines)
        return line;
    int index = line - filter.first_line;
    if (index < 0 || index >= filter.count)
        return -1;
    if (filter.shown.all && filter.order.empty())
        return index;
    if (filter.order.empty()) {
        const std::vector<int>& rows = filter.shown.rows;
        auto at = std::lower_bound(rows.begin(), rows.end(), index);
        return at != rows.end() && *at == index ? static_cast<int>(at - rows.begin()) : -1;
    }
    for (int row = 0; row < shown_rows(filter); ++row) {
        if (shown_index(filter, row) == index)
            return row;
    }
    return -1;
}

int shown_row_count(const PickFilter& filter) {
    return filter.lines ? shown_rows(filter) : 0;
}
