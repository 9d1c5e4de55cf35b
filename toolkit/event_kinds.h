// Event kinds and details returned by wait_event / poll_event, the key bits of
// shortcuts and the accessors of the last returned event. Kept free of
// <windows.h> so that pure logic and its native tests can name them.
#pragma once

constexpr int EVENT_CONTROL = 13100;
constexpr int EVENT_SHORTCUT = 13101;
constexpr int EVENT_TIMER = 13110;
constexpr int EVENT_CLOSE = 16;
constexpr int EVENT_RESIZE = 5;
constexpr int EVENT_MOVE = 3;
constexpr int EVENT_REPAINT = 15;
constexpr int EVENT_ACTIVATE = 13104;
constexpr int EVENT_MINIMIZE = 13107;
constexpr int EVENT_MAXIMIZE = 13108;
constexpr int EVENT_RESTORE = 13109;
// The window moved to a display of another density; event_detail() is the new
// DPI and the window already has the size the system suggests for it.
constexpr int EVENT_DPI_CHANGE = 13111;

constexpr int DETAIL_NONE = -1;
constexpr int DETAIL_CLICK = 0;
constexpr int DETAIL_RIGHT_CLICK = 1;
constexpr int DETAIL_DOUBLE_CLICK = 2;
constexpr int DETAIL_RIGHT_DOUBLE_CLICK = 3;
constexpr int DETAIL_CHANGE = 768;
// A click on the title of a list's column: this plus the column's number.
constexpr int DETAIL_COLUMN_CLICK = 4096;
constexpr int DETAIL_COLUMN_LIMIT = 4096;

// Added to a virtual-key code in add_shortcut.
constexpr int SHORTCUT_SHIFT = 0x10000;
constexpr int SHORTCUT_CONTROL = 0x20000;
constexpr int SHORTCUT_ALT = 0x40000;

// The commands of the two shortcuts every window starts with: Tab and Shift+Tab.
constexpr int FOCUS_NEXT_COMMAND = 64001;
constexpr int FOCUS_PREVIOUS_COMMAND = 64002;

// The id of the last returned event: a control id, a shortcut id, a timer id
// or a window number, by its kind. One field; the three names say which the
// tool expects.
int event_control();
inline int event_shortcut() {
    return event_control();
}
inline int event_timer() {
    return event_control();
}
int event_detail();
int event_window();
