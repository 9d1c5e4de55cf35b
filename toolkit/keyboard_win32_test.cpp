// Shortcuts, Tab focus movement and keyboard cues, from real key presses in
// the shared events window.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "toolkit/test_window_win32.h"

namespace {

TEST_F(Events, BoundKeyIsAShortcutAndRebindingKeepsOneEntry) {
    add_shortcut(WINDOW, VK_RETURN, 100);
    HACCEL table = add_shortcut(WINDOW, VK_RETURN, 101);
    EXPECT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 3);  // Tab, Shift+Tab, Enter

    focus_control(FIRST_BUTTON);
    send_key(VK_RETURN);
    ASSERT_TRUE(wait_for_kind(EVENT_SHORTCUT));
    EXPECT_EQ(event_shortcut(), 101);
    EXPECT_EQ(event_detail(), DETAIL_NONE);
}

TEST_F(Events, TabWrapsFromTheLastButtonToTheFirstAndShiftTabBack) {
    focus_control(LAST_BUTTON);
    send_key(VK_TAB);
    ASSERT_TRUE(wait_for_kind(WM_KEYDOWN));
    EXPECT_EQ(focused_control(), FIRST_BUTTON);

    send_key(VK_TAB, true);
    DWORD start = GetTickCount();
    while (focused_control() != LAST_BUTTON && GetTickCount() - start < WAIT_LIMIT_MS) {
        if (poll_event() == 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }
    EXPECT_EQ(focused_control(), LAST_BUTTON);

    focus_control(FIRST_BUTTON);
    send_key(VK_TAB);
    ASSERT_TRUE(wait_for_kind(WM_KEYDOWN));
    EXPECT_EQ(focused_control(), FIRST_BUTTON + 1);
}

// Wine keeps no UI state (WM_QUERYUISTATE always answers 0, WM_UPDATEUISTATE
// changes nothing), so the callback plays the part of the system's state as
// Windows keeps it and records what the toolkit asks for.
LRESULT reported_ui_state = 0;
std::vector<WPARAM> ui_state_updates;

LRESULT record_ui_state(HWND, UINT message, WPARAM wparam, LPARAM) {
    if (message == WM_QUERYUISTATE) {
        return reported_ui_state;
    }
    if (message == WM_UPDATEUISTATE) {
        ui_state_updates.push_back(wparam);
    }
    return CALLBACK_CONTINUE;
}

TEST_F(Events, KeyboardCuesAppearAfterAShortcutAndHideOnDeactivation) {
    const WPARAM both = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    reported_ui_state = both;
    ui_state_updates.clear();
    set_window_callback(record_ui_state);
    set_keyboard_cues(1);
    focus_control(FIRST_BUTTON);
    send_key(VK_TAB);
    bool seen = wait_for_kind(WM_KEYDOWN);
    std::vector<WPARAM> after_tab = ui_state_updates;

    reported_ui_state = 0;
    ui_state_updates.clear();
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
    std::vector<WPARAM> after_deactivation = ui_state_updates;

    set_keyboard_cues(0);
    reported_ui_state = both;
    ui_state_updates.clear();
    send_key(VK_TAB);
    wait_for_kind(WM_KEYDOWN);
    std::vector<WPARAM> cues_off = ui_state_updates;
    set_window_callback(nullptr);

    ASSERT_TRUE(seen);
    EXPECT_EQ(after_tab, std::vector<WPARAM>{MAKEWPARAM(UIS_CLEAR, both)});
    EXPECT_EQ(after_deactivation, std::vector<WPARAM>{MAKEWPARAM(UIS_SET, both)});
    EXPECT_EQ(cues_off, std::vector<WPARAM>{});
}

}  // namespace
