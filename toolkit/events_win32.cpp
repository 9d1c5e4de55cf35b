// The toolkit's window procedure and the event loop primitives: window
// messages become events (immediate ones returned by the wait that dispatched
// them, queued ones handed out first by later waits), plus shortcuts, timers,
// Tab focus movement, keyboard cues and live sizing.
#include <windows.h>
#include <windowsx.h>

#include <vector>

#include "toolkit/toolkit_internal.h"

static_assert(SHORTCUT_SHIFT == SHORTCUT_KEY_SHIFT && SHORTCUT_CONTROL == SHORTCUT_KEY_CONTROL &&
                  SHORTCUT_ALT == SHORTCUT_KEY_ALT,
              "shortcut key bits differ between the public and the queue side");
static_assert(FOCUS_NEXT_COMMAND == SHORTCUT_FOCUS_NEXT &&
                  FOCUS_PREVIOUS_COMMAND == SHORTCUT_FOCUS_PREVIOUS,
              "focus commands differ between the public and the queue side");
static_assert(SHORTCUT_FLAG_VIRTKEY == FVIRTKEY && SHORTCUT_FLAG_NOINVERT == FNOINVERT &&
                  SHORTCUT_FLAG_SHIFT == FSHIFT && SHORTCUT_FLAG_CONTROL == FCONTROL &&
                  SHORTCUT_FLAG_ALT == FALT,
              "shortcut modifier bits must be the accelerator flags");
static_assert(SIZE_EDGE_LEFT == WMSZ_LEFT && SIZE_EDGE_BOTTOM_RIGHT == WMSZ_BOTTOMRIGHT,
              "sizing edges must be the WM_SIZING edge numbers");

namespace {

// The tools run on one thread; the state is per thread so that a second
// thread with windows of its own would not see the first one's events.
thread_local EventQueue event_queue;
thread_local EventState event_state;
thread_local WindowCallback window_callback = nullptr;
bool keyboard_cues = false;

constexpr WPARAM CUE_FLAGS = UISF_HIDEFOCUS | UISF_HIDEACCEL;

// A border drag run by the toolkit instead of the system's modal sizing loop.
struct SizingDrag {
    HWND hwnd;
    int edge;
    POINT start_cursor;
    SizeBox start_box;
};

SizingDrag sizing_drag = {};

// ---- Keyboard cues ----------------------------------------------------------

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

bool modifier_held() {
    return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0;
}

// ---- Focus movement ---------------------------------------------------------

BOOL CALLBACK collect_tab_stop(HWND child, LPARAM list) {
    bool tab_stop = (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) != 0;
    if (tab_stop && IsWindowEnabled(child) && IsWindowVisible(child)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    }
    return TRUE;
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

// ---- Live sizing ------------------------------------------------------------
//
// DefWindowProc answers a press on the sizing border with its own modal loop
// (SC_SIZE), which keeps wait_event from returning until the button is
// released. When the system shows window contents while dragging, the
// toolkit instead captures the mouse and resizes the window itself on each
// WM_MOUSEMOVE, so every move goes back through the tool's loop and the
// resulting EVENT_RESIZE reaches it during the drag. The steps follow the
// system's loop: WM_GETMINMAXINFO limits, WM_SIZING, then SetWindowPos.
// Moving by the caption is left to the system.

bool shows_contents_while_dragging() {
    BOOL on = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &on, 0);
    return on != FALSE;
}

bool start_sizing_drag(HWND hwnd, WPARAM hit) {
    if (hit < HTLEFT || hit > HTBOTTOMRIGHT || IsZoomed(hwnd) || !shows_contents_while_dragging()) {
        return false;
    }
    RECT outer;
    GetWindowRect(hwnd, &outer);
    DWORD position = GetMessagePos();
    sizing_drag.hwnd = hwnd;
    sizing_drag.edge = static_cast<int>(hit - HTLEFT + WMSZ_LEFT);
    sizing_drag.start_cursor = POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    sizing_drag.start_box = SizeBox{outer.left, outer.top, outer.right, outer.bottom};
    SetCapture(hwnd);
    SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    return true;
}

SizeLimits sizing_limits(HWND hwnd) {
    MINMAXINFO info = {};
    info.ptMaxSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return SizeLimits{info.ptMinTrackSize.x, info.ptMinTrackSize.y, info.ptMaxTrackSize.x,
                      info.ptMaxTrackSize.y};
}

void follow_sizing_drag() {
    HWND hwnd = sizing_drag.hwnd;
    DWORD position = GetMessagePos();
    int dx = GET_X_LPARAM(position) - sizing_drag.start_cursor.x;
    int dy = GET_Y_LPARAM(position) - sizing_drag.start_cursor.y;
    SizeBox box = sized_box(sizing_drag.start_box, sizing_drag.edge, dx, dy, sizing_limits(hwnd));
    RECT wanted = {box.left, box.top, box.right, box.bottom};
    SendMessageA(hwnd, WM_SIZING, sizing_drag.edge, reinterpret_cast<LPARAM>(&wanted));
    RECT outer;
    GetWindowRect(hwnd, &outer);
    if (!EqualRect(&outer, &wanted)) {
        SetWindowPos(hwnd, nullptr, wanted.left, wanted.top, wanted.right - wanted.left,
                     wanted.bottom - wanted.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void end_sizing_drag() {
    HWND hwnd = sizing_drag.hwnd;
    sizing_drag.hwnd = nullptr;
    SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

// True when the message belonged to a border drag and is finished.
bool handle_sizing_message(HWND hwnd, UINT message, WPARAM wparam) {
    if (message == WM_NCLBUTTONDOWN) {
        return start_sizing_drag(hwnd, wparam);
    }
    if (sizing_drag.hwnd != hwnd) {
        return false;
    }
    if (message == WM_MOUSEMOVE) {
        follow_sizing_drag();
        return true;
    }
    if (message == WM_LBUTTONUP) {
        ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
        return true;
    }
    if (message == WM_CAPTURECHANGED) {
        end_sizing_drag();
        return true;
    }
    return false;
}

// ---- Window messages --------------------------------------------------------

void queue_size_events(WindowRecord& record, int window, WPARAM type) {
    if (type == SIZE_MINIMIZED) {
        record.min_max = true;
        queue_event(EVENT_MINIMIZE, 0, window, 0);
        return;
    }
    if (type == SIZE_MAXIMIZED) {
        record.min_max = true;
        queue_event(EVENT_MAXIMIZE, 0, window, 0);
    } else if (type == SIZE_RESTORED && record.min_max) {
        record.min_max = false;
        queue_event(EVENT_RESTORE, 0, window, 0);
    }
    queue_event(EVENT_RESIZE, 0, window, 0);
}

void handle_activation(WindowRecord& record, HWND hwnd, int window, WPARAM wparam) {
    if (LOWORD(wparam) != WA_INACTIVE) {
        HWND memory = record.focus_memory;
        if (memory && IsWindow(memory) && IsChild(hwnd, memory)) {
            SetFocus(memory);
        }
        queue_event(EVENT_ACTIVATE, 0, window, 0);
        return;
    }
    HWND focus = GetFocus();
    record.focus_memory = (focus && IsChild(hwnd, focus)) ? focus : nullptr;
    if (keyboard_cues) {
        hide_keyboard_cues(hwnd);
    }
}

bool erase_background(WindowRecord& record, HWND hwnd, int window, WPARAM wparam) {
    queue_event(EVENT_REPAINT, 0, window, 0);
    if (!record.brush) {
        return false;
    }
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, record.brush);
    return true;
}

LRESULT handle_command(HWND hwnd, WPARAM wparam, LPARAM lparam) {
    if (lparam) {
        LRESULT result = 0;
        if (control_command(hwnd, wparam, lparam, &result)) {
            return result;
        }
        int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
        set_immediate_event(EVENT_CONTROL, id, HIWORD(wparam));
        return DefWindowProcW(hwnd, WM_COMMAND, wparam, lparam);
    }
    int command = LOWORD(wparam);
    bool from_accelerator = HIWORD(wparam) != 0;
    if (from_accelerator && (command == FOCUS_NEXT_COMMAND || command == FOCUS_PREVIOUS_COMMAND)) {
        move_focus(command == FOCUS_NEXT_COMMAND);
        return 0;
    }
    set_immediate_event(EVENT_SHORTCUT, command, DETAIL_NONE);
    return 0;
}

// The toolkit's own handling; false sends the message on to DefWindowProcW.
bool handle_window_message(WindowRecord& record, int window, HWND hwnd, UINT message, WPARAM wparam,
                           LPARAM lparam, LRESULT* result) {
    *result = 0;
    switch (message) {
        case WM_CLOSE:
            queue_event(EVENT_CLOSE, window, window, 0);
            return true;
        case WM_MOVE:
            queue_event(EVENT_MOVE, window, window, 0);
            return true;
        case WM_SIZE:
            queue_size_events(record, window, wparam);
            return true;
        case WM_ACTIVATE:
            handle_activation(record, hwnd, window, wparam);
            *result = 1;
            return true;
        case WM_ERASEBKGND:
            *result = 1;
            return erase_background(record, hwnd, window, wparam);
        case WM_COMMAND:
            *result = handle_command(hwnd, wparam, lparam);
            return true;
        case WM_TIMER:
            set_immediate_event(EVENT_TIMER, static_cast<int>(wparam), DETAIL_NONE);
            return true;
        case WM_NOTIFY:
            return control_notify(hwnd, wparam, lparam, result);
        case WM_CTLCOLORSTATIC:
            return control_color_static(hwnd, wparam, lparam, result);
        case WM_DPICHANGED:
            follow_dpi_change(hwnd, window, wparam, lparam);
            return true;
        default:
            return handle_sizing_message(hwnd, message, wparam);
    }
}

void forget_destroyed_window(HWND hwnd) {
    RemovePropA(hwnd, WINDOW_TAG);
    if (sizing_drag.hwnd == hwnd) {
        sizing_drag.hwnd = nullptr;
    }
    WindowRecord* record = record_of_handle(hwnd);
    if (record) {
        record->handle = nullptr;
    }
}

void rebuild_accelerators(WindowRecord& record) {
    if (record.accelerators) {
        DestroyAcceleratorTable(record.accelerators);
    }
    std::vector<ACCEL> table;
    for (const ShortcutEntry& entry : record.shortcuts) {
        table.push_back(ACCEL{entry.modifiers, entry.key, entry.command});
    }
    record.accelerators = CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

// Steps 3 to 6 of a wait, for a message taken from the thread's queue.
int dispatch_event_message(MSG& message) {
    HWND active = GetActiveWindow();
    WindowRecord* record = record_of_handle(active);
    bool translated = false;
    if (record && record->accelerators) {
        if (keyboard_cues && modifier_held()) {
            show_keyboard_cues(active);
        }
        translated = TranslateAcceleratorW(active, record->accelerators, &message) != 0;
        if (translated && keyboard_cues && IsWindow(active)) {
            show_keyboard_cues(active);
        }
    }
    if (!translated) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return deliver_message(event_state, message.message, static_cast<std::intptr_t>(message.wParam),
                           static_cast<std::intptr_t>(message.lParam));
}

int next_event(bool wait) {
    begin_event_wait(event_state);
    PendingEvent pending;
    if (pop_pending_event(event_queue, &pending)) {
        return deliver_pending_event(event_state, pending);
    }
    MSG message = {};
    if (wait) {
        if (GetMessageW(&message, nullptr, 0, 0) < 0) {
            message = MSG{};
        }
    } else if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) {
        return 0;
    }
    return dispatch_event_message(message);
}

}  // namespace

LRESULT CALLBACK toolkit_window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    int window = window_number_of(hwnd);
    if (message == WM_NCDESTROY) {
        forget_destroyed_window(hwnd);
    }
    if (window_callback) {
        LRESULT answer = window_callback(hwnd, message, wparam, lparam);
        if (answer != CALLBACK_CONTINUE) {
            return answer;
        }
    }
    WindowRecord* record = find_window_record(window);
    if (!record) {
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    event_state.live.window = window;
    LRESULT result = 0;
    if (handle_window_message(*record, window, hwnd, message, wparam, lparam, &result)) {
        return result;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

void queue_event(int kind, int id, int window, int detail) {
    push_pending_event(event_queue, PendingEvent{kind, id, window, detail});
}

void set_immediate_event(int kind, int id, int detail) {
    event_state.live.kind = kind;
    event_state.live.id = id;
    event_state.live.detail = detail;
}

void drop_event_state() {
    event_queue.entries.clear();
    event_state = EventState{};
    window_callback = nullptr;
}

void start_window_shortcuts(WindowRecord& record) {
    record.shortcuts = initial_shortcuts();
    rebuild_accelerators(record);
}

HACCEL add_shortcut(int window, int key, int shortcut_id) {
    WindowRecord* record = find_window_record(window);
    if (!record) {
        return nullptr;
    }
    bind_shortcut(record->shortcuts, key, shortcut_id);
    rebuild_accelerators(*record);
    return record->accelerators;
}

int add_window_timer(int window, int timer_id, int interval_ms) {
    WindowRecord* record = find_window_record(window);
    if (!record || !record->handle) {
        return 0;
    }
    return SetTimer(record->handle, static_cast<UINT_PTR>(timer_id), static_cast<UINT>(interval_ms),
                    nullptr) != 0;
}

int remove_window_timer(int window, int timer_id) {
    WindowRecord* record = find_window_record(window);
    if (!record || !record->handle) {
        return 0;
    }
    return KillTimer(record->handle, static_cast<UINT_PTR>(timer_id)) != 0;
}

void set_window_callback(WindowCallback callback) {
    window_callback = callback;
}

void set_keyboard_cues(int on) {
    keyboard_cues = on != 0;
}

int wait_event() {
    return next_event(true);
}

int poll_event() {
    return next_event(false);
}

int event_control() {
    return event_state.snapshot.id;
}

int event_shortcut() {
    return event_state.snapshot.id;
}

int event_timer() {
    return event_state.snapshot.id;
}

int event_detail() {
    return event_state.snapshot.detail;
}

int event_window() {
    return event_state.snapshot.window;
}
