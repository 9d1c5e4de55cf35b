#include "toolkit/test_window_win32.h"

#include <commctrl.h>

#include <string>

namespace {

void send_input(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

constexpr DWORD SIZABLE_FLAGS = WINDOW_HIDDEN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

// Text is drawn smoothed, so its colour is only approached at the glyphs' cores.
bool near_color(COLORREF a, COLORREF b) {
    auto close = [](int x, int y) { return x - y < 0x60 && y - x < 0x60; };
    return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) &&
           close(GetBValue(a), GetBValue(b));
}

}  // namespace

HWND ShownWindow::window = nullptr;
HWND Events::window = nullptr;

void Events::SetUpTestSuite() {
    prepare_toolkit(GetModuleHandleA(nullptr));
    window = open_window(WINDOW, 100, 100, 320, 160, "events", SIZABLE_FLAGS, nullptr);
    for (int id = FIRST_BUTTON; id <= LAST_BUTTON; ++id) {
        create_button(id, 10 + (id - 1) * 100, 10, 90, 28, "button");
    }
    show_window(WINDOW, 0);
}

void ShownWindow::make_list(int lines, int flags) {
    ASSERT_NE(create_list_view(LIST, 10, 10, 300, 200, "", 200, flags), nullptr);
    list_begin_update(LIST);
    for (int i = 0; i < lines; ++i) {
        list_add_item(LIST, -1, "line " + std::to_string(i));
    }
    list_end_update(LIST);
    drain_events();
}

std::vector<int> control_details_until(int kind, int detail) {
    std::vector<int> details;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000;) {
        int got = poll_event();
        if (got == 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            continue;
        }
        if (got == EVENT_CONTROL) {
            details.push_back(event_detail());
        }
        if (got == kind && (detail == -2 || event_detail() == detail)) {
            break;
        }
    }
    return details;
}

void click_client(HWND hwnd, int x, int y, int clicks) {
    POINT point{x, y};
    ClientToScreen(hwnd, &point);
    SetCursorPos(point.x, point.y);
    std::vector<INPUT> inputs(2 * clicks, INPUT{INPUT_MOUSE, {}});
    for (size_t i = 0; i < inputs.size(); ++i) {
        inputs[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    send_input(inputs);
}

RECT line_rect(int line) {
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    SendMessageA(control_handle(LIST), LVM_GETITEMRECT, line, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

int top_line() {
    return static_cast<int>(SendMessageA(control_handle(LIST), LVM_GETTOPINDEX, 0, 0));
}

void repaint(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
}

COLORREF pixel_at(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return color;
}

bool any_pixel_near(HWND hwnd, COLORREF color) {
    RECT client;
    GetClientRect(hwnd, &client);
    HDC dc = GetDC(hwnd);
    bool found = false;
    for (int y = 0; y < client.bottom && !found; ++y) {
        for (int x = 0; x < client.right && !found; ++x) {
            found = near_color(GetPixel(dc, x, y), color);
        }
    }
    ReleaseDC(hwnd, dc);
    return found;
}

std::vector<int> drain_events() {
    std::vector<int> kinds;
    for (int kind = poll_event(); kind != 0 && kinds.size() < 10000; kind = poll_event()) {
        kinds.push_back(kind);
    }
    return kinds;
}

bool wait_for_kind(int kind) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < WAIT_LIMIT_MS) {
        int got = poll_event();
        if (got == kind) {
            return true;
        }
        if (got == 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }
    return false;
}

bool make_foreground(HWND hwnd) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < WAIT_LIMIT_MS) {
        SetForegroundWindow(hwnd);
        drain_events();
        if (GetForegroundWindow() == hwnd && GetActiveWindow() == hwnd) {
            return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

void send_key(WORD key, bool shift) {
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD vk, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (shift) {
        add(VK_SHIFT, 0);
    }
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (shift) {
        add(VK_SHIFT, KEYEVENTF_KEYUP);
    }
    send_input(inputs);
}

void send_mouse(int x, int y, DWORD button_flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | button_flags;
    SendInput(1, &input, sizeof(INPUT));
}
