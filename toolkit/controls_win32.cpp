// Controls of the toolkit: the one-column list, static labels and push buttons,
// kept in a registry keyed by the ids the tools choose. Every control is
// subclassed so that its record lives exactly as long as its native window.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <climits>
#include <map>
#include <unordered_map>
#include <mutex>
#include <string>

#include "toolkit/fonts_win32.h"
#include "toolkit/grid_lines.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_internal.h"

#ifndef LVS_EX_DOUBLEBUFFER
#define LVS_EX_DOUBLEBUFFER 0x00010000
#endif

namespace {

constexpr int CONTROL_KIND_LIST = 1;
constexpr int CONTROL_KIND_LABEL = 2;
constexpr int CONTROL_KIND_BUTTON = 3;

constexpr COLORREF COLOR_NONE = static_cast<COLORREF>(COLOR_DEFAULT);

struct ControlRecord {
    HWND handle = nullptr;
    int kind = 0;
    WNDPROC previous_procedure = nullptr;
    // List: reading texts back needs a buffer as long as the longest line.
    size_t longest_text = 0;
    bool grid_lines = false;
    COLORREF line_color = COLOR_NONE;
    int last_selected = -1;
    int update_depth = 0;
    // Row bounds measured on a temporary line while the list was empty.
    bool row_measured = false;
    int row_top = 0;
    int row_bottom = 0;
    // Label.
    COLORREF text_color = COLOR_NONE;
    COLORREF back_color = COLOR_NONE;
    HBRUSH back_brush = nullptr;
};

struct SharedBrush {
    HBRUSH brush;
    int users;
};

struct ListDefaults {
    bool recorded;
    COLORREF text_color;
    COLORREF back_color;
    DWORD comctl_major;
};

std::map<int, ControlRecord> controls;
// The id each control is tagged with, mirrored in-process: the tag is read for
// every message a control and its window see (one per list line while a list
// fills), and a window-property lookup can cost a round trip to the window
// system.
std::unordered_map<HWND, int> control_tags;
std::map<COLORREF, SharedBrush> label_brushes;
// The console close handler releases the toolkit from its own thread.
std::mutex label_brushes_lock;
ListDefaults list_defaults;

LRESULT send_to(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    return SendMessageA(control, message, wparam, lparam);
}

ControlRecord* find_control(int id) {
    auto found = controls.find(id);
    return found == controls.end() ? nullptr : &found->second;
}

// The id the window is tagged with, whether or not its window id still agrees.
int tag_of(HWND hwnd) {
    auto found = control_tags.find(hwnd);
    return found == control_tags.end() ? -1 : found->second;
}

// The record of `hwnd` when both its tag and its window id name it.
ControlRecord* control_of_window(HWND hwnd) {
    if (!hwnd) {
        return nullptr;
    }
    int id = tag_of(hwnd);
    ControlRecord* record = find_control(id);
    if (!record || record->handle != hwnd || GetWindowLongPtrA(hwnd, GWLP_ID) != id) {
        return nullptr;
    }
    return record;
}

HBRUSH acquire_label_brush(COLORREF color) {
    std::lock_guard<std::mutex> hold(label_brushes_lock);
    auto found = label_brushes.find(color);
    if (found != label_brushes.end()) {
        ++found->second.users;
        return found->second.brush;
    }
    HBRUSH brush = CreateSolidBrush(color);
    if (brush) {
        label_brushes[color] = SharedBrush{brush, 1};
    }
    return brush;
}

void release_label_brush(ControlRecord& record) {
    if (!record.back_brush) {
        return;
    }
    std::lock_guard<std::mutex> hold(label_brushes_lock);
    auto found = label_brushes.find(record.back_color);
    if (found != label_brushes.end() && found->second.brush == record.back_brush &&
        --found->second.users == 0) {
        DeleteObject(found->second.brush);
        label_brushes.erase(found);
    }
    record.back_brush = nullptr;
}

// Hands the window back to its own procedure and forgets it.
void drop_control(HWND hwnd, int id) {
    ControlRecord* record = find_control(id);
    if (!record || record->handle != hwnd) {
        return;
    }
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previous_procedure));
    RemovePropA(hwnd, CONTROL_TAG);
    control_tags.erase(hwnd);
    release_label_brush(*record);
    controls.erase(id);
}

LRESULT CALLBACK control_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    int id = tag_of(hwnd);
    ControlRecord* record = find_control(id);
    if (!record || record->handle != hwnd) {
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
    WNDPROC previous = record->previous_procedure;
    if (message == WM_NCDESTROY) {
        drop_control(hwnd, id);
    } else if (message == WM_SETFONT) {
        record->row_measured = false;
    }
    return CallWindowProcA(previous, hwnd, message, wparam, lparam);
}

// Creates, subclasses, numbers and tags a control; an id in use names the new
// control from now on, so the old one is destroyed first.
HWND create_control(int id, int kind, const char* class_name, DWORD style, DWORD ex_style, int x,
                    int y, int width, int height, const std::string& text) {
    HWND parent = container_window();
    if (!parent) {
        return nullptr;
    }
    if (ControlRecord* old = find_control(id)) {
        HWND old_handle = old->handle;
        DestroyWindow(old_handle);
        drop_control(old_handle, id);
    }
    HWND hwnd = CreateWindowExA(ex_style, class_name, text.c_str(), style, x, y, width, height,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                toolkit_instance, nullptr);
    if (!hwnd) {
        return nullptr;
    }
    ControlRecord record;
    record.handle = hwnd;
    record.kind = kind;
    record.previous_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control_procedure)));
    controls[id] = record;
    SetWindowLongPtrA(hwnd, GWLP_ID, id);
    SetPropA(hwnd, CONTROL_TAG, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(id) + 1));
    control_tags[hwnd] = id;
    send_to(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(default_control_font()), TRUE);
    return hwnd;
}

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
    std::string buffer(record.longest_text + 1, '\0');
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = 0;
    item.pszText = &buffer[0];
    item.cchTextMax = static_cast<int>(buffer.size());
    if (!send_to(record.handle, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ||
        !item.pszText) {
        return "";
    }
    // The control may answer with a pointer to its own copy instead of filling ours.
    return std::string(item.pszText);
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

void set_label_color(ControlRecord& record, int slot, COLORREF color) {
    if (slot == COLOR_SLOT_TEXT) {
        record.text_color = color;
    } else if (slot == COLOR_SLOT_BACK) {
        release_label_brush(record);
        record.back_color = color;
        if (color != COLOR_NONE) {
            record.back_brush = acquire_label_brush(color);
        }
    }
}

}  // namespace

// ---- Creation ---------------------------------------------------------------

HWND create_list_view(int id, int x, int y, int width, int height, const std::string& column_title,
                      int column_width, int flags) {
    DWORD style = static_cast<DWORD>(flags) | WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                  LVS_SHAREIMAGELISTS | LVS_REPORT | LVS_SINGLESEL;
    HWND list = create_control(id, CONTROL_KIND_LIST, WC_LISTVIEWA, style, WS_EX_CLIENTEDGE, x, y,
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
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.cx = column_width;
    column.pszText = const_cast<char*>(column_title.c_str());
    column.iSubItem = 0;
    send_to(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    return list;
}

HWND create_label(int id, int x, int y, int width, int height, const std::string& text, int flags) {
    DWORD style = static_cast<DWORD>(flags) | WS_CHILD | WS_VISIBLE | WS_GROUP;
    return create_control(id, CONTROL_KIND_LABEL, "Static", style, 0, x, y, width, height, text);
}

HWND create_button(int id, int x, int y, int width, int height, const std::string& text,
                   int flags) {
    DWORD style = static_cast<DWORD>(flags) | WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
    return create_control(id, CONTROL_KIND_BUTTON, "Button", style, 0, x, y, width, height, text);
}

// ---- Lists ------------------------------------------------------------------

void list_add_item(int id, int position, const std::string& text) {
    ControlRecord* record = find_control(id);
    if (!record || record->kind != CONTROL_KIND_LIST) {
        return;
    }
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    // An index past the last line appends (documented for LVM_INSERTITEM),
    // which spares a count query per line while a list fills.
    item.iItem = position < 0 ? INT_MAX : position;
    item.pszText = const_cast<char*>(text.c_str());
    item.lParam = 0;
    send_to(record->handle, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
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
    // Bounded, so a control that refuses to clear a state cannot hang the tool.
    int guard = static_cast<int>(send_to(list, LVM_GETITEMCOUNT, 0, 0));
    for (int line = first_selected(list); line != -1 && guard-- >= 0; line = first_selected(list)) {
        set_item_state(list, line, 0);
    }
    if (index < 0) {
        return;
    }
    set_item_state(list, index, LVIS_SELECTED | LVIS_FOCUSED);
    send_to(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), TRUE);
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

// ---- Every kind -------------------------------------------------------------

std::string control_text(int id) {
    ControlRecord* record = find_control(id);
    if (!record) {
        return "";
    }
    if (record->kind == CONTROL_KIND_LIST) {
        return item_text(*record, first_selected(record->handle));
    }
    std::string text(static_cast<size_t>(GetWindowTextLengthA(record->handle)) + 1, '\0');
    int length = GetWindowTextA(record->handle, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(length, 0)));
    return text;
}

void set_control_text(int id, const std::string& text) {
    ControlRecord* record = find_control(id);
    if (record) {
        SetWindowTextA(record->handle, text.c_str());
    }
}

HWND control_handle(int id) {
    ControlRecord* record = find_control(id);
    return record ? record->handle : nullptr;
}

void focus_control(int id) {
    if (id == -1) {
        SetFocus(nullptr);
        return;
    }
    ControlRecord* record = find_control(id);
    if (record) {
        SetFocus(record->handle);
    }
}

int focused_control() {
    HWND focus = GetFocus();
    return control_of_window(focus) ? tag_of(focus) : -1;
}

void resize_control(int id, int x, int y, int width, int height) {
    ControlRecord* record = find_control(id);
    if (!record) {
        return;
    }
    RECT now;
    GetWindowRect(record->handle, &now);
    MapWindowPoints(nullptr, GetParent(record->handle), reinterpret_cast<POINT*>(&now), 2);
    x = x == KEEP_VALUE ? now.left : x;
    y = y == KEEP_VALUE ? now.top : y;
    width = width == KEEP_VALUE ? now.right - now.left : width;
    height = height == KEEP_VALUE ? now.bottom - now.top : height;
    MoveWindow(record->handle, x, y, width, height, TRUE);
    if (record->kind == CONTROL_KIND_BUTTON) {
        RedrawWindow(record->handle, nullptr, nullptr,
                     RDW_ERASE | RDW_INVALIDATE | RDW_INTERNALPAINT);
    } else if (record->kind == CONTROL_KIND_LABEL) {
        InvalidateRect(record->handle, nullptr, FALSE);
    }
}

void set_control_color(int id, int slot, COLORREF color) {
    ControlRecord* record = find_control(id);
    if (!record || record->kind == CONTROL_KIND_BUTTON) {
        return;
    }
    if (record->kind == CONTROL_KIND_LIST) {
        set_list_color(*record, slot, color);
    } else {
        set_label_color(*record, slot, color);
    }
    RedrawWindow(record->handle, nullptr, nullptr,
                 RDW_FRAME | RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
}

// ---- What the window side hands over ----------------------------------------

void prepare_controls() {
    list_defaults = ListDefaults{};
    prepare_fonts();
}

void release_controls() {
    // Controls still alive here outlived their window's release; give them back
    // their own procedure so nothing calls into a forgotten record.
    while (!controls.empty()) {
        auto first = controls.begin();
        drop_control(first->second.handle, first->first);
    }
    {
        std::lock_guard<std::mutex> hold(label_brushes_lock);
        for (auto& shared : label_brushes) {
            DeleteObject(shared.second.brush);
        }
        label_brushes.clear();
    }
    release_fonts();
}

// Button clicks need nothing of the control side: the window side turns the
// notification code into the immediate event itself.
bool control_command(HWND, WPARAM, LPARAM, LRESULT*) {
    return false;
}

bool control_notify(HWND, WPARAM, LPARAM lparam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    ControlRecord* record = header ? control_of_window(header->hwndFrom) : nullptr;
    if (!record || record->kind != CONTROL_KIND_LIST) {
        return false;
    }
    int id = tag_of(header->hwndFrom);
    *result = 0;
    switch (header->code) {
        case NM_CLICK:
            check_empty_selection(*record, id);
            queue_control_event(*record, id, DETAIL_CLICK);
            return true;
        case NM_RCLICK:
            check_empty_selection(*record, id);
            queue_control_event(*record, id, DETAIL_RIGHT_CLICK);
            return true;
        case NM_DBLCLK:
            queue_control_event(*record, id, DETAIL_DOUBLE_CLICK);
            return true;
        case NM_RDBLCLK:
            queue_control_event(*record, id, DETAIL_RIGHT_DOUBLE_CLICK);
            return true;
        case LVN_DELETEALLITEMS:
            // No per-line delete notices when a list of a million lines goes.
            *result = TRUE;
            return true;
        case LVN_ITEMCHANGED:
            list_item_changed(*record, id, *reinterpret_cast<const NMLISTVIEW*>(lparam));
            return true;
        case NM_CUSTOMDRAW:
            *result = list_custom_draw(*record, *reinterpret_cast<NMLVCUSTOMDRAW*>(lparam));
            return true;
        default:
            return false;
    }
}

bool control_color_static(HWND, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    ControlRecord* record = control_of_window(reinterpret_cast<HWND>(lparam));
    if (!record || record->kind != CONTROL_KIND_LABEL ||
        (record->text_color == COLOR_NONE && record->back_color == COLOR_NONE)) {
        return false;
    }
    HDC dc = reinterpret_cast<HDC>(wparam);
    if (record->text_color != COLOR_NONE) {
        SetTextColor(dc, record->text_color);
        if (record->back_color == COLOR_NONE) {
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            *result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
    }
    if (record->back_color != COLOR_NONE) {
        SetBkColor(dc, record->back_color);
        *result = reinterpret_cast<LRESULT>(record->back_brush);
    }
    return true;
}
