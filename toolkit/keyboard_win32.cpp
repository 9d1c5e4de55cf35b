// Shortcuts, Tab focus movement and keyboard cues.
#include <windows.h>

#include <vector>

#include "toolkit/edit_box_win32.h"
#include "toolkit/keyboard.h"
#include "toolkit/keyboard_win32.h"
#include "toolkit/windows_win32.h"

static_assert(SHORTCUT_FLAG_VIRTKEY == FVIRTKEY && SHORTCUT_FLAG_NOINVERT == FNOINVERT &&
                  SHORTCUT_FLAG_SHIFT == FSHIFT && SHORTCUT_FLAG_CONTROL == FCONTROL &&
                  SHORTCUT_FLAG_ALT == FALT,
              "shortcut modifier bits must be the accelerator flags");

namespace {

bool keyboard_cues = false;

constexpr WPARAM CUE_FLAGS = UISF_HIDEFOCUS | UISF_HIDEACCEL;

void show_keyboard_cues(HWND hwnd) {
    LRESULT hidden = SendMessageA(hwnd, WM_QUERYUISTATE, 0, 0);
    if (hidden & CUE_FLAGS) {
        SendMessageA(hwnd, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, CUE_FLAGS), 0);
        InvalidateRect(hwnd, nullptr, TRUE);
    }
}

void hide_keyboard_cues(HWND hwnd) {
    LRESULT hidden = SendMessageA(hwnd, WM_QUERYUISTATE, 0, 0);
    if ((hidden & CUE_FLAGS) != CUE_FLAGS) {
        SendMessageA(hwnd, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, CUE_FLAGS), 0);
    }
}

// A key that types a character (Space, letters, digits), pressed without Ctrl
// or Alt: an edit box with the focus needs it for its text more than any
// window needs it as a shortcut. Enter, Escape and Tab type no character.
bool types_character(const MSG& message) {
    if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    UINT character = MapVirtualKeyW(static_cast<UINT>(message.wParam), MAPVK_VK_TO_CHAR);
    return (character & 0x7FFFFFFF) >= 0x20;
}

bool modifier_held() {
    return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0;
}

BOOL CALLBACK collect_tab_stop(HWND child, LPARAM list) {
    bool tab_stop = (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) != 0;
    if (tab_stop && IsWindowEnabled(child) && IsWindowVisible(child)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    }
    return TRUE;
}

}  // namespace

HACCEL add_shortcut(int window, int key, int shortcut_id) {
    WindowRecord* record = find_window_record(window);
    if (!record) {
        return nullptr;
    }
    bind_shortcut(record->shortcuts, key, shortcut_id);
    rebuild_accelerators(*record);
    return record->accelerators;
}

void set_keyboard_cues(int on) {
    keyboard_cues = on != 0;
}

bool translate_shortcut(MSG& message) {
    HWND active = GetActiveWindow();
    WindowRecord* record = record_of_handle(active);
    if (!record || !record->accelerators) {
        return false;
    }
    if (types_character(message) && edit_box_has_focus()) {
        return false;
    }
    if (keyboard_cues && modifier_held()) {
        show_keyboard_cues(active);
    }
    bool translated = TranslateAcceleratorW(active, record->accelerators, &message) != 0;
    if (translated && keyboard_cues && IsWindow(active)) {
        show_keyboard_cues(active);
    }
    return translated;
}

void move_focus(bool forward) {
    HWND active = GetActiveWindow();
    if (!active) {
        return;
    }
    std::vector<HWND> candidates;
    EnumChildWindows(active, collect_tab_stop, reinterpret_cast<LPARAM>(&candidates));
    HWND focus = GetFocus();
    int current = -1;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i] == focus) {
            current = static_cast<int>(i);
        }
    }
    int target = next_focus_index(static_cast<int>(candidates.size()), current, forward);
    if (target >= 0) {
        SetFocus(candidates[target]);
    }
}

void window_deactivated(HWND hwnd) {
    if (keyboard_cues) {
        hide_keyboard_cues(hwnd);
    }
}
