// Controls of the toolkit: the one-column list (list_view_win32.cpp), static
// labels, push buttons and one-line edit boxes (edit_box_win32.cpp), kept in
// a registry keyed by the ids the tools choose. Every control is subclassed so
// that its record lives exactly as long as its native window.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <unordered_map>
#include <mutex>
#include <string>

#include "toolkit/controls_win32.h"
#include "toolkit/fonts_win32.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_internal.h"

namespace {

struct SharedBrush {
    HBRUSH brush;
    int users;
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

}  // namespace

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

namespace {

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
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previous_procedure));
    RemovePropA(hwnd, CONTROL_TAG);
    control_tags.erase(hwnd);
    release_label_brush(*record);
    controls.erase(id);
}

LRESULT CALLBACK control_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    int id = tag_of(hwnd);
    ControlRecord* record = find_control(id);
    if (!record || record->handle != hwnd) {
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    WNDPROC previous = record->previous_procedure;
    LRESULT taken = 0;
    if (record->kind == CONTROL_KIND_EDIT &&
        edit_box_message(*record, message, wparam, lparam, &taken)) {
        return taken;
    }
    if (record->kind == CONTROL_KIND_LIST && list_key_message(*record, message, wparam, &taken)) {
        return taken;
    }
    if (message == WM_NCDESTROY) {
        drop_control(hwnd, id);
    } else if (message == WM_SETFONT) {
        record->row_measured = false;
    }
    return CallWindowProcW(previous, hwnd, message, wparam, lparam);
}

}  // namespace

// Creates, subclasses, numbers and tags a control; an id in use names the new
// control from now on, so the old one is destroyed first.
HWND create_control(int id, int kind, const wchar_t* class_name, DWORD style, DWORD ex_style, int x,
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
    int encoding = current_text_encoding();
    // Created and subclassed as Unicode windows, so that their texts, and the
    // characters typed into them, are not narrowed to the ANSI code page.
    HWND hwnd = CreateWindowExW(
        ex_style, class_name, to_wide_text(text, encoding).c_str(), style, x, y, width, height,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), toolkit_instance, nullptr);
    if (!hwnd) {
        return nullptr;
    }
    ControlRecord record;
    record.handle = hwnd;
    record.kind = kind;
    record.encoding = encoding;
    record.previous_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control_procedure)));
    controls[id] = record;
    SetWindowLongPtrA(hwnd, GWLP_ID, id);
    SetPropA(hwnd, CONTROL_TAG, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(id) + 1));
    control_tags[hwnd] = id;
    send_to(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(default_control_font()), TRUE);
    return hwnd;
}

namespace {

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

HWND create_label(int id, int x, int y, int width, int height, const std::string& text, int flags) {
    DWORD style = static_cast<DWORD>(flags) | WS_CHILD | WS_VISIBLE | WS_GROUP;
    return create_control(id, CONTROL_KIND_LABEL, L"Static", style, 0, x, y, width, height, text);
}

HWND create_button(int id, int x, int y, int width, int height, const std::string& text,
                   int flags) {
    DWORD style = static_cast<DWORD>(flags) | WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
    return create_control(id, CONTROL_KIND_BUTTON, L"Button", style, 0, x, y, width, height, text);
}

// ---- Every kind -------------------------------------------------------------

std::string control_text(int id) {
    ControlRecord* record = find_control(id);
    if (!record) {
        return "";
    }
    if (record->kind == CONTROL_KIND_LIST) {
        return selected_item_text(*record);
    }
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(record->handle)) + 1, L'\0');
    int length = GetWindowTextW(record->handle, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(length, 0)));
    return from_wide_text(text, record->encoding);
}

void set_control_text(int id, const std::string& text) {
    ControlRecord* record = find_control(id);
    if (record) {
        SetWindowTextW(record->handle, to_wide_text(text, record->encoding).c_str());
    }
}

void set_control_encoding(int id, int encoding) {
    ControlRecord* record = find_control(id);
    if (record) {
        record->encoding = encoding;
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
    prepare_lists();
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
// notification code into the immediate event itself. Edit boxes report their
// changes here.
bool control_command(HWND, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    ControlRecord* record = control_of_window(reinterpret_cast<HWND>(lparam));
    if (!record || record->kind != CONTROL_KIND_EDIT) {
        return false;
    }
    return edit_box_command(*record, HIWORD(wparam), result);
}

bool control_notify(HWND, WPARAM, LPARAM lparam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    ControlRecord* record = header ? control_of_window(header->hwndFrom) : nullptr;
    if (!record || record->kind != CONTROL_KIND_LIST) {
        return false;
    }
    return list_notify(*record, tag_of(header->hwndFrom), lparam, result);
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
