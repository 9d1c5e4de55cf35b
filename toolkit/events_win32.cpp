// The toolkit's window procedure and the wait for events: window messages
// become events, immediate ones returned by the wait that dispatched them,
// queued ones handed out first by later waits. Shortcuts and focus movement
// (keyboard_win32.cpp), the buttons' key letters (key_letters_win32.cpp),
// live sizing (sizing_win32.cpp) and the controls' own handling
// (controls_win32.cpp) are offered their messages from here.
//
// Loops between files remain only where the system calls back: the window
// registry (windows_win32.cpp) registers this procedure for its classes (it is
// handed in by prepare_toolkit), so opening or closing a window there runs
// this procedure, which looks the window up in that registry; likewise a
// control created or destroyed by the control registry (controls_win32.cpp)
// notifies its window, and the notification comes back through here to the
// control registry.
#include <windows.h>

#include "toolkit/controls_win32.h"
#include "toolkit/dpi_scale_win32.h"
#include "toolkit/events.h"
#include "toolkit/events_win32.h"
#include "toolkit/key_letters_win32.h"
#include "toolkit/keyboard_win32.h"
#include "toolkit/sizing_win32.h"
#include "toolkit/windows_win32.h"

namespace {

thread_local WindowCallback window_callback = nullptr;

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
    window_deactivated(hwnd);
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
        if (control_command(wparam, lparam, &result)) {
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
            return control_notify(lparam, result);
        case WM_CTLCOLORSTATIC:
            return control_color_static(wparam, lparam, result);
        case WM_DPICHANGED:
            follow_dpi_change(hwnd, window, wparam, lparam);
            return true;
        default:
            return handle_sizing_message(hwnd, message, wparam);
    }
}

// Posted to the thread, not to a window, so that it needs no window of the
// toolkit's registry and reaches the wait whichever window is open.
constexpr UINT WAKE_MESSAGE = WM_APP + 0x2E0;

// Steps 3 to 6 of a wait, for a message taken from the thread's queue.
int dispatch_event_message(MSG& message) {
    if (!message.hwnd && message.message == WAKE_MESSAGE) {
        set_immediate_event(EVENT_TIMER, static_cast<int>(message.wParam), DETAIL_NONE);
        return deliver_message(thread_event_state(), message.message, 0, 0);
    }
    if (!translate_shortcut(message) && !answer_key_letter(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return deliver_message(thread_event_state(), message.message,
                           static_cast<std::intptr_t>(message.wParam),
                           static_cast<std::intptr_t>(message.lParam));
}

int next_event(bool wait) {
    begin_event_wait(thread_event_state());
    PendingEvent pending;
    if (pop_pending_event(thread_event_queue(), &pending)) {
        return deliver_pending_event(thread_event_state(), pending);
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
        forget_window_handle(hwnd);
        forget_sizing_drag(hwnd);
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
    thread_event_state().live.window = window;
    LRESULT result = 0;
    if (handle_window_message(*record, window, hwnd, message, wparam, lparam, &result)) {
        return result;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
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

std::function<void()> event_waker(int timer_id) {
    DWORD thread = GetCurrentThreadId();
    return [thread, timer_id] {
        PostThreadMessageW(thread, WAKE_MESSAGE, static_cast<WPARAM>(timer_id), 0);
    };
}

int wait_event() {
    return next_event(true);
}

int poll_event() {
    return next_event(false);
}
