// The one-column list control as a control kind: creation, keys, colours and
// the notifications that become events. Its rows, its virtual lines and its
// grid have files of their own; what the tools do with its lines is in
// list_lines_win32.cpp.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <string>

#include "toolkit/events.h"
#include "toolkit/grid_lines_win32.h"
#include "toolkit/list_rows_win32.h"
#include "toolkit/list_view_win32.h"
#include "toolkit/virtual_list_win32.h"
#include "toolkit/windows_win32.h"

#ifndef LVS_EX_DOUBLEBUFFER
#define LVS_EX_DOUBLEBUFFER 0x00010000
#endif

// The toolkit's list flags share bits with styles every list has anyway, so
// they pass into the native style unchanged.
static_assert(LIST_GRID_LINES == WS_TABSTOP, "LIST_GRID_LINES must be a bit every list has");
static_assert(LIST_FULL_ROW_SELECT == WS_CHILD,
              "LIST_FULL_ROW_SELECT must be a bit every list has");
static_assert(LIST_MULTIPLE_SELECTION == WS_VISIBLE,
              "LIST_MULTIPLE_SELECTION must be a bit every list has");

namespace {

struct ListDefaults {
    bool recorded;
    COLORREF text_color;
    COLORREF back_color;
    DWORD comctl_major;
};

ListDefaults list_defaults;

DWORD comctl_major_version() {
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    auto get_version = comctl ? reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(
                                    GetProcAddress(comctl, "DllGetVersion")))
                              : nullptr;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    if (!get_version || get_version(&info) != S_OK) {
        return 4;
    }
    return info.dwMajorVersion;
}

void record_list_defaults(HWND list) {
    if (list_defaults.recorded) {
        return;
    }
    list_defaults.recorded = true;
    list_defaults.text_color = static_cast<COLORREF>(send_to(list, LVM_GETTEXTCOLOR, 0, 0));
    list_defaults.back_color = static_cast<COLORREF>(send_to(list, LVM_GETBKCOLOR, 0, 0));
    list_defaults.comctl_major = comctl_major_version();
}

void queue_list_event(const ControlRecord& record, int detail) {
    queue_event(EVENT_CONTROL, record.id, window_number_of(record.handle), detail);
}

// Queues a selection change and remembers the first selected line.
void note_selection_change(ControlRecord& record) {
    record.last_selected = first_selected(record.handle);
    queue_list_event(record, DETAIL_CHANGE);
}

// A click that left no line selected after one was: report the lost selection
// first, whether or not the control announced it.
void check_empty_selection(ControlRecord& record) {
    if (record.last_selected != -1 && first_selected(record.handle) == -1) {
        record.last_selected = -1;
        queue_list_event(record, DETAIL_CHANGE);
    }
}

void list_item_changed(ControlRecord& record, const NMLISTVIEW& change) {
    if (!(change.uChanged & LVIF_STATE)) {
        return;
    }
    if (change.iItem < 0) {
        // A virtual list may report a change of all lines at once.
        note_selection_change(record);
        return;
    }
    bool was_selected = (change.uOldState & LVIS_SELECTED) != 0;
    bool is_selected = (change.uNewState & LVIS_SELECTED) != 0;
    if (is_selected && !was_selected) {
        record.last_selected = change.iItem;
        queue_list_event(record, DETAIL_CHANGE);
    } else if (was_selected && !is_selected) {
        queue_list_event(record, DETAIL_CHANGE);
    }
}

// A new font makes the row measured on a temporary line stale. Ctrl+A in a
// list of several lines selects every line. A double click on a column's
// title counts as a second click.
bool list_message(ControlRecord& record, UINT message, WPARAM wparam, LPARAM lparam,
                  LRESULT* result) {
    if (message == WM_SETFONT) {
        record.row_measured = false;
    }
    // The title row turns a second click that comes quickly into a double
    // click, which the list ignores; a user clicking twice to reverse an
    // order means two clicks.
    if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header->code == HDN_ITEMDBLCLICKW || header->code == HDN_ITEMDBLCLICKA) {
            int column = reinterpret_cast<const NMHEADERW*>(lparam)->iItem;
            if (column >= 0 && column < DETAIL_COLUMN_LIMIT)
                queue_list_event(record, DETAIL_COLUMN_CLICK + column);
        }
    }
    if (!list_takes_several(record.handle)) {
        return false;
    }
    if (message == WM_KEYDOWN && wparam == 'A' && GetKeyState(VK_CONTROL) < 0) {
        set_every_selection(record, LVIS_SELECTED);
        *result = 0;
        return true;
    }
    if (message == WM_CHAR && wparam == 1) {
        *result = 0;  // the character Ctrl+A types is no line to search for
        return true;
    }
    return false;
}

bool list_notify(ControlRecord& record, LPARAM lparam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    *result = 0;
    switch (header->code) {
        case NM_CLICK:
            check_empty_selection(record);
            queue_list_event(record, DETAIL_CLICK);
            return true;
        case NM_RCLICK:
            check_empty_selection(record);
            queue_list_event(record, DETAIL_RIGHT_CLICK);
            return true;
        case NM_DBLCLK:
            queue_list_event(record, DETAIL_DOUBLE_CLICK);
            return true;
        case NM_RDBLCLK:
            queue_list_event(record, DETAIL_RIGHT_DOUBLE_CLICK);
            return true;
        case LVN_COLUMNCLICK: {
            int column = reinterpret_cast<const NMLISTVIEW*>(lparam)->iSubItem;
            if (column >= 0 && column < DETAIL_COLUMN_LIMIT)
                queue_list_event(record, DETAIL_COLUMN_CLICK + column);
            return true;
        }
        case LVN_DELETEALLITEMS:
            // No per-line delete notices when a list of a million lines goes.
            *result = TRUE;
            return true;
        case LVN_ITEMCHANGED:
            list_item_changed(record, *reinterpret_cast<const NMLISTVIEW*>(lparam));
            return true;
        case LVN_ODSTATECHANGED:
            note_selection_change(record);
            return true;
        case NM_CUSTOMDRAW:
            *result = grid_custom_draw(record, *reinterpret_cast<NMLVCUSTOMDRAW*>(lparam),
                                       list_defaults.comctl_major);
            return true;
        default:
            return virtual_list_notify(record, lparam, result);
    }
}

void set_list_color(ControlRecord& record, int slot, COLORREF color) {
    HWND list = record.handle;
    if (slot == COLOR_SLOT_TEXT) {
        send_to(list, LVM_SETTEXTCOLOR, 0, color == COLOR_NONE ? list_defaults.text_color : color);
    } else if (slot == COLOR_SLOT_BACK) {
        COLORREF back = color == COLOR_NONE ? list_defaults.back_color : color;
        send_to(list, LVM_SETBKCOLOR, 0, back);
        send_to(list, LVM_SETTEXTBKCOLOR, 0, back);
    } else if (slot == COLOR_SLOT_LINE) {
        record.line_color = color;
    }
}

std::string selected_item_text(const ControlRecord& record) {
    return item_text(record, first_selected(record.handle));
}

const ControlKind LIST_KIND = {
    list_message,       nullptr, list_notify, nullptr, set_list_color,
    selected_item_text, nullptr, nullptr,
};

}  // namespace

ControlRecord* find_list(int id) {
    return find_control_of(id, LIST_KIND);
}

void prepare_lists() {
    list_defaults = ListDefaults{};
}

HWND create_list_view(int id, int x, int y, int width, int height, const std::string& column_title,
                      int column_width, int flags) {
    DWORD style = static_cast<DWORD>(flags) | WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                  LVS_SHAREIMAGELISTS | LVS_REPORT | LVS_SINGLESEL;
    if (flags & LIST_MULTIPLE_SELECTION) {
        style &= ~static_cast<DWORD>(LVS_SINGLESEL);
    }
    HWND list = create_control(id, LIST_KIND, WC_LISTVIEWW, style, WS_EX_CLIENTEDGE, x, y, width,
                               height, "");
    if (!list) {
        return nullptr;
    }
    DWORD extended = LVS_EX_DOUBLEBUFFER;
    if (flags & LIST_FULL_ROW_SELECT) {
        extended |= LVS_EX_FULLROWSELECT;
    }
    send_to(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);
    record_list_defaults(list);
    find_list(id)->grid_lines = (flags & LIST_GRID_LINES) != 0;
    std::wstring title = to_wide_text(column_title, find_list(id)->encoding);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.cx = column_width;
    column.pszText = &title[0];
    column.iSubItem = 0;
    send_to(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    return list;
}
