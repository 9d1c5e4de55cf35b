#include "orlipan/pick_filter_win32.h"

#include <algorithm>

#include "frame/text.h"
#include "orlipan/pick_options.h"
#include "orlipan/pick_output.h"
#include "toolkit/toolkit.h"

namespace {

bool utf8_lines(const PickFilter& filter) {
    return (filter.flags & PICK_FLAG_UTF8) != 0;
}

const char* shown_text(int row, void* context) {
    const PickFilter& filter = *static_cast<const PickFilter*>(context);
    return line_at(*filter.lines, shown_line(filter.shown, row));
}

int shown_rows(const PickFilter& filter) {
    return shown_count(filter.shown, line_count(*filter.lines));
}

}  // namespace

bool filtering(const PickFilter& filter) {
    return (filter.flags & PICK_FLAG_FILTER) != 0;
}

int create_filter_box(const PickFilter& filter, HFONT font) {
    if (!filtering(filter))
        return 0;
    create_edit_box(PICK_BOX_ID, 0, 0, 0, 0, "");
    // What is typed is compared with the lines' own bytes.
    set_control_encoding(PICK_BOX_ID, utf8_lines(filter) ? TEXT_UTF8 : TEXT_ANSI);
    set_control_font(PICK_BOX_ID, font);
    link_edit_to_list(PICK_BOX_ID, PICK_LIST_ID);
    return edit_box_height(PICK_BOX_ID);
}

void start_filter(PickFilter& filter, const LineStore& lines) {
    filter.lines = &lines;
    filter.shown = ShownLines();
    list_set_source(PICK_LIST_ID, shown_text, &filter, shown_rows(filter));
}

void refilter(PickFilter& filter) {
    if (!filter.lines)
        return;
    bool menu = (filter.flags & PICK_FLAG_MENU) != 0;
    std::string text = control_text(PICK_BOX_ID);
    // A query put into the box at the start (/query) is filtered before the
    // window shows; the change it reports later must not undo the start's
    // selection.
    if (text == filter.shown.text && filter.shown.all == text.empty())
        return;
    filter_lines(&filter.shown, text, filter.lines->lines, line_count(*filter.lines), menu,
                 fold_for_lines(utf8_lines(filter)));
    int rows = shown_rows(filter);
    list_set_source(PICK_LIST_ID, shown_text, &filter, rows);
    // The old selection named rows that now show other lines.
    list_select(PICK_LIST_ID, menu || rows == 0 ? -1 : 0);
    if (rows > 0)
        list_scroll_to(PICK_LIST_ID, 0);
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
    return shown_line(filter.shown, row);
}

int row_of_line(const PickFilter& filter, int line) {
    if (!filter.lines || filter.shown.all)
        return line;
    const std::vector<int>& rows = filter.shown.rows;
    auto at = std::lower_bound(rows.begin(), rows.end(), line);
    return at != rows.end() && *at == line ? static_cast<int>(at - rows.begin()) : -1;
}

int shown_row_count(const PickFilter& filter) {
    return filter.lines ? shown_rows(filter) : 0;
}
