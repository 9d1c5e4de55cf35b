// The columns of a list: their titles and widths, the row of titles above
// the lines with the system's sort arrows, and the cells the lines are cut
// into; the measures and looks tools lay a list out by. A click on a title
// becomes an event in list_view_win32.cpp.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "toolkit/list_view_win32.h"
#include "toolkit/text_encoding_win32.h"

#ifndef HDF_SORTUP
#define HDF_SORTUP 0x0400
#define HDF_SORTDOWN 0x0200
#endif

static_assert(LIST_WIDTH_FILL == LVSCW_AUTOSIZE_USEHEADER,
              "LIST_WIDTH_FILL goes to the list as the native width it stands for");

namespace {

int column_count(HWND list) {
    HWND header = reinterpret_cast<HWND>(send_to(list, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(send_to(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void put_column(const ControlRecord& record, int column, const ListColumn& source, bool insert) {
    std::wstring title = to_wide_text(source.title, record.encoding);
    LVCOLUMNW native{};
    native.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    native.cx = source.width;
    native.pszText = &title[0];
    native.iSubItem = column;
    send_to(record.handle, insert ? LVM_INSERTCOLUMNW : LVM_SETCOLUMNW, static_cast<WPARAM>(column),
            reinterpret_cast<LPARAM>(&native));
}

}  // namespace

void list_set_columns(int id, const std::vector<ListColumn>& columns, ListCellSource cells) {
    ControlRecord* record = find_list(id);
    if (!record || columns.empty())
        return;
    HWND list = record->handle;
    // Column 0 stays: some list versions cannot lose their first column.
    for (int column = column_count(list) - 1; column > 0; --column)
        send_to(list, LVM_DELETECOLUMN, static_cast<WPARAM>(column), 0);
    for (size_t i = 0; i < columns.size(); ++i)
        put_column(*record, static_cast<int>(i), columns[i], i > 0);
    record->cells = cells;
    record->column_count = static_cast<int>(columns.size());
    InvalidateRect(list, nullptr, FALSE);
}

int list_header_height(int id) {
    ControlRecord* record = find_list(id);
    if (!record || (GetWindowLongA(record->handle, GWL_STYLE) & LVS_NOCOLUMNHEADER))
        return 0;
    HWND header = reinterpret_cast<HWND>(send_to(record->handle, LVM_GETHEADER, 0, 0));
    if (!header)
        return 0;
    // The header's own answer for its font, whatever room it has now.
    RECT room = {0, 0, 10000, 10000};
    WINDOWPOS place{};
    HDLAYOUT layout{};
    layout.prc = &room;
    layout.pwpos = &place;
    if (!send_to(header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)))
        return 0;
    return place.cy;
}

int list_column_count(int id) {
    ControlRecord* record = find_list(id);
    return record ? column_count(record->handle) : 0;
}

int list_column_width(int id, int column) {
    ControlRecord* record = find_list(id);
    return record ? static_cast<int>(
                        send_to(record->handle, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0))
                  : 0;
}

void list_set_column_width(int id, int column, int width) {
    ControlRecord* record = find_list(id);
    if (record)
        send_to(record->handle, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), width);
}

int list_inner_width(int id) {
    ControlRecord* record = find_list(id);
    RECT inside{};
    if (!record || !GetClientRect(record->handle, &inside))
        return 0;
    return inside.right - inside.left;
}

void list_set_sort_mark(int id, int column, int direction) {
    ControlRecord* record = find_list(id);
    if (!record)
        return;
    HWND header = reinterpret_cast<HWND>(send_to(record->handle, LVM_GETHEADER, 0, 0));
    int count = header ? static_cast<int>(send_to(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!send_to(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
            continue;
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == column && direction == LIST_SORT_UP)
            item.fmt |= HDF_SORTUP;
        if (i == column && direction == LIST_SORT_DOWN)
            item.fmt |= HDF_SORTDOWN;
        send_to(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

int list_row_height(int id) {
    ControlRecord* record = find_list(id);
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (!record || !send_to(record->handle, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)))
        return 0;
    return row.bottom - row.top;
}

void list_use_menu_look(int id) {
    ControlRecord* record = find_list(id);
    if (!record)
        return;
    HWND list = record->handle;
    LONG ex_style = GetWindowLongA(list, GWL_EXSTYLE);
    SetWindowLongA(list, GWL_EXSTYLE, ex_style & ~WS_EX_CLIENTEDGE);
    // The frame is cached by the system until it is told that it changed.
    SetWindowPos(list, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A list has no cursor of its own: the hand goes on the list class, so
    // every list of the process shows it.
    HCURSOR hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
    SetClassLongPtrA(list, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(hand));
}
