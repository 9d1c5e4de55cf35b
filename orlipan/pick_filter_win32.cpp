#include "orlipan/pick_filter_win32.h"

#include "frame/text.h"
#include "orlipan/line_filter.h"
#include "orlipan/pick_output.h"
#include "orlipan/pick_window_win32.h"
#include "toolkit/toolkit.h"

namespace {

const LineStore* filtered_store = nullptr;
ShownLines shown;

bool utf8_lines() {
    return (pick_settings.flags & PICK_FLAG_UTF8) != 0;
}

// Case folding in the ANSI code page, as the user's locale has it. The bytes
// of UTF-8 lines fold as ASCII only: folding a byte of a longer character
// would let it stand for another character.
const unsigned char* line_fold() {
    return utf8_lines() ? ascii_fold_table() : ansi_fold_table();
}

const char* shown_text(int row, void*) {
    return line_at(*filtered_store, shown_line(shown, row));
}

int shown_rows() {
    return shown_count(shown, line_count(*filtered_store));
}

}  // namespace

bool filtering() {
    return (pick_settings.flags & PICK_FLAG_FILTER) != 0;
}

int create_filter_box(HFONT font) {
    if (!filtering())
        return 0;
    create_edit_box(PICK_BOX_ID, 0, 0, 0, 0, "");
    // What is typed is compared with the lines' own bytes.
    set_control_encoding(PICK_BOX_ID, utf8_lines() ? TEXT_UTF8 : TEXT_ANSI);
    set_control_font(PICK_BOX_ID, font);
    link_edit_to_list(PICK_BOX_ID, PICK_LIST_ID);
    return edit_box_height(PICK_BOX_ID);
}

void start_filter(const LineStore& lines) {
    filtered_store = &lines;
    shown = ShownLines();
    list_set_source(PICK_LIST_ID, shown_text, nullptr, shown_rows());
}

void refilter() {
    if (!filtered_store)
        return;
    bool menu = (pick_settings.flags & PICK_FLAG_MENU) != 0;
    filter_lines(&shown, control_text(PICK_BOX_ID), filtered_store->lines,
                 line_count(*filtered_store), menu, line_fold());
    int rows = shown_rows();
    list_set_source(PICK_LIST_ID, shown_text, nullptr, rows);
    // The old selection named rows that now show other lines.
    list_select(PICK_LIST_ID, menu || rows == 0 ? -1 : 0);
    if (rows > 0)
        list_scroll_to(PICK_LIST_ID, 0);
}

bool clear_filter_box() {
    if (!filtering() || control_text(PICK_BOX_ID).empty())
        return false;
    set_control_text(PICK_BOX_ID, "");
    return true;
}

int line_of_row(int row) {
    if (!filtered_store || row < 0)
        return row;
    return shown_line(shown, row);
}
