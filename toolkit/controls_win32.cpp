// The registry of controls, keyed by the ids the tools choose, and what every
// control has in common. Every control is subclassed so that its record lives
// exactly as long as its native window; what differs between kinds comes
// through each record's ControlKind.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <unordered_map>

#include "toolkit/controls_win32.h"
#include "toolkit/fonts_win32.h"
#include "toolkit/text_encoding_win32.h"
#include "toolkit/windows_win32.h"

namespace {

// Window property that tags a control with its id, stored as id + 1.
constexpr char CONTROL_TAG[] = "ToolkitControlId";

std::map<int, ControlRecord> controls;
// The id each control is tagged with, mirrored in-process: the tag is read for
// every message a control and its window see (one per list line while a list
// fills), and a window-property lookup can cost a round trip to the window
// system.
std::unordered_map<HWND, int> control_tags;

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

// Hands the window back to its own procedure and forgets it.
void drop_control(HWND hwnd, int id) {
    ControlRecord* record = find_control(id);
    if (!record || record->handle != hwnd) {
        return;
    }
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previous_procedure));
    RemovePropA(hwnd, CONTROL_TAG);
    control_tags.erase(hwnd);
    if (record->kind->release) {
        record->kind->release(*record);
    }
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
    if (record->kind->message && record->kind->message(*record, message, wparam, lparam, &taken)) {
        return taken;
    }
    if (message == WM_NCDESTROY) {
        drop_control(hwnd, id);
    }
    return CallWindowProcW(previous, hwnd, message, wparam, lparam);
}

}  // namespace

LRESULT send_to(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    return SendMessageA(control, message, wparam, lparam);
}

ControlRecord* find_control(int id) {
    auto found = controls.find(id);
    return found == controls.end() ? nullptr : &found->second;
}

ControlRecord* find_control_of(int id, const ControlKind& kind) {
    ControlRecord* record = find_control(id);
    return record && record->kind == &kind ? record : nullptr;
}

// An id in use names the new control from now on, so the old one is
// destroyed first.
HWND create_control(int id, const ControlKind& kind, const wchar_t* class_name, DWORD style,
                    DWORD ex_style, int x, int y, int width, int height, const std::string& text) {
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
    record.id = id;
    record.kind = &kind;
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

void release_controls() {
    // Controls still alive here outlived their window's release; give them back
    // their own procedure so nothing calls into a forgotten record.
    while (!controls.empty()) {
        auto first = controls.begin();
        drop_control(first->second.handle, first->first);
    }
}

// ---- Every kind -------------------------------------------------------------

std::string control_text(int id) {
    ControlRecord* record = find_control(id);
    if (!record) {
        return "";
    }
    if (record->kind->text) {
        return record->kind->text(*record);
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
    if (record->kind->moved) {
        record->kind->moved(*record);
    }
}

void set_control_color(int id, int slot, COLORREF color) {
    ControlRecord* record = find_control(id);
    if (!record || !record->kind->set_color) {
        return;
    }
    record->kind->set_color(*record, slot, color);
    RedrawWindow(record->handle, nullptr, nullptr,
                 RDW_FRAME | RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
}

void set_control_font(int id, HFONT font) {
    if (id == -1) {
        set_default_control_font(font);
        return;
    }
    HWND control = control_handle(id);
    if (control) {
        send_to(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

SIZE control_text_extent(int id, const std::string& text) {
    SIZE size = {0, 0};
    ControlRecord* record = find_control(id);
    if (!record) {
        return size;
    }
    std::wstring wide = to_wide_text(text, record->encoding);
    in_control_font(record->handle, [&](HDC dc) {
        return GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size) != 0;
    });
    return size;
}

// ---- What the window procedure offers ---------------------------------------

bool control_command(WPARAM wparam, LPARAM lparam, LRESULT* result) {
    ControlRecord* record = control_of_window(reinterpret_cast<HWND>(lparam));
    if (!record || !record->kind->command) {
        return false;
    }
    return record->kind->command(*record, HIWORD(wparam), result);
}

bool control_notify(LPARAM lparam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    ControlRecord* record = header ? control_of_window(header->hwndFrom) : nullptr;
    if (!record || !record->kind->notify) {
        return false;
    }
    return record->kind->notify(*record, lparam, result);
}

bool control_color_static(WPARAM wparam, LPARAM lparam, LRESULT* result) {
    ControlRecord* record = control_of_window(reinterpret_cast<HWND>(lparam));
    if (!record || !record->kind->color_static) {
        return false;
    }
    return record->kind->color_static(*record, reinterpret_cast<HDC>(wparam), result);
}
