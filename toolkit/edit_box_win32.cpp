// The one-line text box. Typing in it is reported as a change, and a box
// linked to a list hands that list the keys that move through lines, so the
// user can narrow a list and pick from it without leaving the box.
#include <windows.h>

#include "toolkit/controls_win32.h"
#include "toolkit/edit_box_win32.h"
#include "toolkit/events.h"
#include "toolkit/fonts_win32.h"
#include "toolkit/list_rows_win32.h"
#include "toolkit/list_view_win32.h"
#include "toolkit/windows_win32.h"

static_assert(EDIT_PASSWORD == ES_PASSWORD, "the password flag is the native edit style");

namespace {

// The character that Ctrl+A types.
constexpr WPARAM CHAR_SELECT_ALL = 1;

bool held(int key) {
    return GetKeyState(key) < 0;
}

// Keys a one-line box has no use for, and Ctrl+Home / Ctrl+End, whose Home
// and End are meant for the list (plain Home and End stay with the caret).
bool is_list_key(WPARAM key) {
    switch (key) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
            return true;
        case VK_HOME:
        case VK_END:
            return held(VK_CONTROL);
        default:
            return false;
    }
}

// The list reads the modifier keys itself, and in a list of several lines a
// held Ctrl moves only the focus; Home and End from the box must reach it as
// plain Home and End (Shift still extends the selection). The thread's key
// state is what the list reads, so Ctrl is taken out of it for the one call.
LRESULT send_without_control(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
    BYTE keys[256];
    if (!GetKeyboardState(keys)) {
        return send_to(list, message, wparam, lparam);
    }
    BYTE saved[3] = {keys[VK_CONTROL], keys[VK_LCONTROL], keys[VK_RCONTROL]};
    keys[VK_CONTROL] &= 0x7F;
    keys[VK_LCONTROL] &= 0x7F;
    keys[VK_RCONTROL] &= 0x7F;
    SetKeyboardState(keys);
    LRESULT result = send_to(list, message, wparam, lparam);
    keys[VK_CONTROL] = saved[0];
    keys[VK_LCONTROL] = saved[1];
    keys[VK_RCONTROL] = saved[2];
    SetKeyboardState(keys);
    return result;
}

bool edit_box_command(ControlRecord& record, int code, LRESULT* result) {
    *result = 0;
    if (code == EN_CHANGE) {
        // Queued rather than immediate: a text set by the tool itself changes
        // outside any wait, and the change must still reach its loop.
        queue_event(EVENT_CONTROL, record.id, window_number_of(record.handle), DETAIL_CHANGE);
    }
    return true;
}

// The keys a box linked to a list hands over.
bool edit_box_message(ControlRecord& record, UINT message, WPARAM wparam, LPARAM lparam,
                      LRESULT* result) {
    ControlRecord* list = find_list(record.key_target);
    if (!list) {
        return false;
    }
    HWND target = list->handle;
    if (message == WM_KEYDOWN && is_list_key(wparam)) {
        bool plain = wparam == VK_HOME || wparam == VK_END;
        *result = plain ? send_without_control(target, message, wparam, lparam)
                        : send_to(target, message, wparam, lparam);
        return true;
    }
    if (!list_takes_several(target)) {
        return false;
    }
    if (message == WM_KEYDOWN && wparam == 'A' && held(VK_CONTROL)) {
        *result = send_to(target, message, wparam, lparam);
        return true;
    }
    if (message == WM_CHAR && wparam == CHAR_SELECT_ALL) {
        *result = 0;  // the box's own Ctrl+A, if it has one, would compete
        return true;
    }
    return false;
}

const ControlKind EDIT_KIND = {
    edit_box_message, edit_box_command, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

}  // namespace

HWND create_edit_box(int id, int x, int y, int width, int height, const std::string& text,
                     int flags) {
    DWORD style = static_cast<DWORD>(flags) | WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    return create_control(id, EDIT_KIND, L"Edit", style, WS_EX_CLIENTEDGE, x, y, width, height,
                          text);
}

bool edit_box_has_focus() {
    return find_control_of(focused_control(), EDIT_KIND) != nullptr;
}

void link_edit_to_list(int id, int list_id) {
    ControlRecord* record = find_control_of(id, EDIT_KIND);
    if (record) {
        record->key_target = list_id;
    }
}

void select_edit_text(int id) {
    ControlRecord* record = find_control_of(id, EDIT_KIND);
    if (record) {
        send_to(record->handle, EM_SETSEL, 0, -1);
    }
}

void move_edit_caret_to_end(int id) {
    ControlRecord* record = find_control_of(id, EDIT_KIND);
    if (record) {
        LRESULT end = GetWindowTextLengthW(record->handle);
        send_to(record->handle, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
}

int edit_box_height(int id) {
    ControlRecord* record = find_control_of(id, EDIT_KIND);
    TEXTMETRICA metrics{};
    if (!record || !in_control_font(record->handle,
                                    [&](HDC dc) { return GetTextMetricsA(dc, &metrics) != 0; })) {
        return 0;
    }
    // The sunken edge above and below, and two pixels of air on each side of
    // the text.
    return metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE) + 4;
}
