// The one-column list control: creation, lines, selection, the notifications
// that become events, and the grid lines the toolkit draws itself.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "toolkit/controls_win32.h"
#include "toolkit/grid_lines.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_internal.h"

#ifndef LVS_EX_DOUBLEBUFFER
#define LVS_EX_DOUBLEBUFFER 0x00010000
#endif

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

int first_selected(HWND list) {
    return static_cast<int>(send_to(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string item_text(const ControlRecord& record, int index) {
    if (index < 0) {
        return "";
    }
    if (is_virtual_list(record)) {
        return virtual_line(record, index);
    }
    // No line has more UTF-16 units than the tool gave it bytes.
    std::wstring buffer(record.longest_text + 1, L'\0');
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = 0;
    item.pszText = &buffer[0];
    item.cchTextMax = static_cast<int>(buffer.size());
    if (!send_to(record.handle, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ||
        !item.pszText) {
        return "";
    }
    // The control may answer with a pointer to its own copy instead of filling ours.
    return from_wide_text(item.pszText, wcslen(item.pszText), record.encoding);
}

// Selects (LVIS_SELECTED) or clears every line in one message. Some list
// controls redraw line by line while they do it, which for a million lines
// takes far longer than the change itself; one redraw after it is enough.
void set_every_selection(ControlRecord& record, UINT state) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = state;
    list_begin_update(tag_of(record.handle));
    send_to(record.handle, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(&item));
    list_end_update(tag_of(record.handle));
}

void set_item_state(HWND list, int index, UINT state) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    send_to(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void queue_control_event(const ControlRecord& record, int id, int detail) {
    queue_event(EVENT_CONTROL, id, window_number_of(record.handle), detail);
}

// A click that left no line selected after one was: report the lost selection
// first, whether or not the control announced it.
void check_empty_selection(ControlRecord& record, int id) {
    if (record.last_selected != -1 && first_selected(record.handle) == -1) {
        record.last_selected = -1;
        queue_control_event(record, id, DETAIL_CHANGE);
    }
}

void list_item_changed(ControlRecord& record, int id, const NMLISTVIEW& change) {
    if (!(change.uChanged & LVIF_STATE)) {
        return;
    }
    if (change.iItem < 0) {
        // A virtual list may report a change of all lines at once.
        note_selection_change(record, id);
        return;
    }
    bool was_selected = (change.uOldState & LVIS_SELECTED) != 0;
    bool is_selected = (change.uNewState & LVIS_SELECTED) != 0;
    if (is_selected && !was_selected) {
        record.last_selected = change.iItem;
        queue_control_event(record, id, DETAIL_CHANGE);
    } else if (was_selected && !is_selected) {
        queue_control_event(record, id, DETAIL_CHANGE);
    }
}

// Line 0's bounds; for an empty list those of a temporary line, measured once
// per font, with the right edge at the end of column 0.
bool line_zero_bounds(ControlRecord& record, RECT* bounds) {
    HWND list = record.handle;
    if (send_to(list, LVM_GETITEMCOUNT, 0, 0) > 0) {
        bounds->left = LVIR_BOUNDS;
        return send_to(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(bounds)) != 0;
    }
    if (!record.row_measured && is_virtual_list(record)) {
        return false;  // measured when its lines were handed over
    }
    if (!record.row_measured) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<char*>("");
        if (send_to(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0) {
            return false;
        }
        RECT measured{};
        measured.left = LVIR_BOUNDS;
        bool ok = send_to(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&measured)) != 0;
        send_to(list, LVM_DELETEITEM, 0, 0);
        if (!ok) {
            return false;
        }
        record.row_measured = true;
        record.row_top = measured.top;
        record.row_bottom = measured.bottom;
    }
    bounds->top = record.row_top;
    bounds->bottom = record.row_bottom;
    bounds->left = 0;
    bounds->right = static_cast<int>(send_to(list, LVM_GETCOLUMNWIDTH, 0, 0));
    return true;
}

void draw_line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void draw_grid_lines(ControlRecord& record, HDC dc) {
    RECT client;
    RECT line;
    if (!GetClientRect(record.handle, &client) || !line_zero_bounds(record, &line)) {
        return;
    }
    COLORREF color =
        record.line_color != COLOR_NONE ? record.line_color : GetSysColor(COLOR_BTNFACE);
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    for (int y : grid_rule_rows(line.top, line.bottom, client.bottom)) {
        draw_line(dc, 0, y, client.right, y);
    }
    if (list_defaults.comctl_major < 6) {
        // Older controls leave a stray ruling at the top edge; cover it.
        COLORREF back = static_cast<COLORREF>(send_to(record.handle, LVM_GETBKCOLOR, 0, 0));
        HPEN back_pen = CreatePen(PS_SOLID, 1, back);
        SelectObject(dc, back_pen);
        draw_line(dc, 0, 0, client.right, 0);
        draw_line(dc, 0, 1, client.right, 1);
        SelectObject(dc, pen);
        DeleteObject(back_pen);
    }
    draw_line(dc, line.right - 1, 0, line.right - 1, client.bottom);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
}

LRESULT list_custom_draw(ControlRecord& record, NMLVCUSTOMDRAW& draw) {
    LONG style = GetWindowLongA(record.handle, GWL_STYLE);
    if (!record.grid_lines || (style & LVS_TYPEMASK) != LVS_REPORT) {
        return CDRF_DODEFAULT;
    }
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        return IsWindowEnabled(record.handle) ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    }
    if (draw.nmcd.dwDrawStage == CDDS_POSTPAINT) {
        draw_grid_lines(record, draw.nmcd.hdc);
    }
    return CDRF_DODEFAULT;
}

}  // namespace

bool list_key_message(ControlRecord& record, UINT message, WPARAM wparam, LRESULT* result) {
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

bool list_takes_several(HWND list) {
    return (GetWindowLongA(list, GWL_STYLE) & LVS_SINGLESEL) == 0;
}

void note_selection_change(ControlRecord& record, int id) {
    record.last_selected = first_selected(record.handle);
    queue_control_event(record, id, DETAIL_CHANGE);
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
    HWND list = create_control(id, CONTROL_KIND_LIST, WC_LISTVIEWW, style, WS_EX_CLIENTEDGE, x, y,
                               width, height, "");
    if (!list) {
        return nullptr;
    }
    DWORD extended = LVS_EX_DOUBLEBUFFER;
    if (flags & LIST_FULL_ROW_SELECT) {
        extended |= LVS_EX_FULLROWSELECT;
    }
    send_to(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);
    record_list_defaults(list);
    find_control(id)->grid_lines = (flags & LIST_GRID_LINES) != 0;
    std::wstring title = to_wide_text(column_title, find_control(id)->encoding);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.cx = column_width;
    column.pszText = &title[0];
    column.iSubItem = 0;
    send_to(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    return list;
}

// ---- Lists ------------------------------------------------------------------

void list_add_item(int id, int position, const std::string& text) {
    ControlRecord* record = find_control(id);
    if (!record || record->kind != CONTROL_KIND_LIST || is_virtual_list(*record)) {
        return;
    }
    std::wstring line = to_wide_text(text, record->encoding);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    // An index past the last line appends (documented for LVM_INSERTITEM),
    // which spares a count query per line while a list fills.
    item.iItem = position < 0 ? INT_MAX : position;
    item.pszText = &line[0];
    item.lParam = 0;
    send_to(record->handle, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    record->longest_text = std::max(record->longest_text, text.size());
}

int list_selected_index(int id) {
    ControlRecord* record = find_control(id);
    if (!record || record->kind != CONTROL_KIND_LIST) {
        return -1;
    }
    return first_selected(record->handle);
}

void list_select(int id, int index) {
    ControlRecord* record = find_control(id);
    if (!record || record->kind != CONTROL_KIND_LIST) {
        return;
    }
    HWND list = record->handle;
    // The count first: some list controls look for a selected line by asking
    // line after line, which in a list of a million with nothing selected is
    // a long way to go for no line. Several lines are cleared in one message.
    int selected = static_cast<int>(send_to(list, LVM_GETSELECTEDCOUNT, 0, 0));
    if (selected > 1) {
        set_every_selection(*record, 0);
    }
    // Bounded, so a control that refuses to clear a state cannot hang the tool.
    for (int guard = selected; guard-- > 0 && send_to(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;) {
        set_item_state(list, first_selected(list), 0);
    }
    if (index < 0) {
        return;
    }
    set_item_state(list, index, LVIS_SELECTED | LVIS_FOCUSED);
    send_to(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), TRUE);
}

std::vector<int> list_selected_indexes(int id) {
    std::vector<int> indexes;
    ControlRecord* record = find_control(id);
    if (!record || record->kind != CONTROL_KIND_LIST) {
        return indexes;
    }
    HWND list = record->handle;
    int count = static_cast<int>(send_to(list, LVM_GETITEMCOUNT, 0, 0));
    for (int line = first_selected(list); line != -1 && static_cast<int>(indexes.size()) < count;
         line = static_cast<int>(
             send_to(list, LVM_GETNEXTITEM, static_cast<WPARAM>(line), LVNI_SELECTED))) {
        indexes.push_back(line);
    }
    return indexes;
}

void list_scroll_to(int id, int index) {
    ControlRecord* record = find_control(id);
    if (record && record->kind == CONTROL_KIND_LIST) {
        send_to(record->handle, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    }
}

std::string list_item_text(int id, int index) {
    ControlRecord* record = find_control(id);
    if (!record || record->kind != CONTROL_KIND_LIST) {
        return "";
    }
    return item_text(*record, index);
}

void list_begin_update(int id) {
    ControlRecord* record = find_control(id);
    if (record && record->kind == CONTROL_KIND_LIST && record->update_depth++ == 0) {
        send_to(record->handle, WM_SETREDRAW, FALSE, 0);
    }
}

void list_end_update(int id) {
    ControlRecord* record = find_control(id);
    if (!record || record->kind != CONTROL_KIND_LIST || record->update_depth == 0) {
        return;
    }
    if (--record->update_depth == 0) {
        send_to(record->handle, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(record->handle, nullptr, TRUE);
    }
}

bool list_notify(ControlRecord& record, int id, LPARAM lparam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    *result = 0;
    switch (header->code) {
        case NM_CLICK:
            check_empty_selection(record, id);
            queue_control_event(record, id, DETAIL_CLICK);
            return true;
        case NM_RCLICK:
            check_empty_selection(record, id);
            queue_control_event(record, id, DETAIL_RIGHT_CLICK);
            return true;
        case NM_DBLCLK:
            queue_control_event(record, id, DETAIL_DOUBLE_CLICK);
            return true;
        case NM_RDBLCLK:
            queue_control_event(record, id, DETAIL_RIGHT_DOUBLE_CLICK);
            return true;
        case LVN_DELETEALLITEMS:
            // No per-line delete notices when a list of a million lines goes.
            *result = TRUE;
            return true;
        case LVN_ITEMCHANGED:
            list_item_changed(record, id, *reinterpret_cast<const NMLISTVIEW*>(lparam));
            return true;
        case NM_CUSTOMDRAW:
            *result = list_custom_draw(record, *reinterpret_cast<NMLVCUSTOMDRAW*>(lparam));
            return true;
        default:
            return virtual_list_notify(record, id, lparam, result);
    }
}
