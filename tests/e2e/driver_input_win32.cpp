// The driver's real input: keys and mouse clicks through SendInput; see
// driver.h.
#include <cstdlib>

#include "tests/e2e/driver.h"

namespace {

bool is_extended_key(WORD vk) {
    switch (vk) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
            return true;
        default:
            return false;
    }
}

INPUT key_input(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    input.ki.dwFlags =
        (up ? KEYEVENTF_KEYUP : 0) | (is_extended_key(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

// Absolute mouse coordinates run 0..65535 over the whole virtual desktop.
INPUT mouse_input(int x, int y, DWORD flags) {
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = width > 1 ? MulDiv(x - left, 65535, width - 1) : 0;
    input.mi.dy = height > 1 ? MulDiv(y - top, 65535, height - 1) : 0;
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return input;
}

void send_inputs(std::vector<INPUT>& inputs) {
    if (!inputs.empty())
        SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
}

}  // namespace

// The cursor may follow a move a little later than SendInput returns (Wine
// applies it through the X server); a button pressed before that would land
// where the cursor was.
void move_cursor_to(int x, int y) {
    std::vector<INPUT> move = {mouse_input(x, y, MOUSEEVENTF_MOVE)};
    send_inputs(move);
    wait_until(
        [&] {
            POINT at = {};
            GetCursorPos(&at);
            return abs(at.x - x) <= 1 && abs(at.y - y) <= 1;
        },
        1000);
}

void press_key(WORD vk, bool shift, bool control, bool alt) {
    std::vector<WORD> modifiers;
    if (shift)
        modifiers.push_back(VK_SHIFT);
    if (control)
        modifiers.push_back(VK_CONTROL);
    if (alt)
        modifiers.push_back(VK_MENU);
    std::vector<INPUT> inputs;
    for (WORD m : modifiers)
        inputs.push_back(key_input(m, false));
    inputs.push_back(key_input(vk, false));
    inputs.push_back(key_input(vk, true));
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) {
        inputs.push_back(key_input(*m, true));
    }
    send_inputs(inputs);
}

void click_at(int x, int y, bool right) {
    move_cursor_to(x, y);
    DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    DWORD up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    std::vector<INPUT> inputs = {mouse_input(x, y, MOUSEEVENTF_MOVE | down),
                                 mouse_input(x, y, MOUSEEVENTF_MOVE | up)};
    send_inputs(inputs);
}

void click_holding(int x, int y, WORD key) {
    move_cursor_to(x, y);
    std::vector<INPUT> inputs = {
        key_input(key, false), mouse_input(x, y, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN),
        mouse_input(x, y, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP), key_input(key, true)};
    send_inputs(inputs);
}

void double_click_at(int x, int y) {
    move_cursor_to(x, y);
    // One batch, so both clicks fall within the double-click time.
    DWORD at = MOUSEEVENTF_MOVE;
    std::vector<INPUT> inputs = {
        mouse_input(x, y, at | MOUSEEVENTF_LEFTDOWN), mouse_input(x, y, at | MOUSEEVENTF_LEFTUP),
        mouse_input(x, y, at | MOUSEEVENTF_LEFTDOWN), mouse_input(x, y, at | MOUSEEVENTF_LEFTUP)};
    send_inputs(inputs);
}

void click_window_center(HWND hwnd) {
    RECT rect = window_rect(hwnd);
    click_at((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

bool make_foreground(HWND hwnd, int timeout_ms) {
    if (!hwnd || !IsWindow(hwnd))
        return false;
    if (GetForegroundWindow() == hwnd)
        return true;
    SetForegroundWindow(hwnd);
    if (wait_until([&] { return GetForegroundWindow() == hwnd; }, timeout_ms / 2))
        return true;
    // The system may refuse a background process the foreground; a real
    // click on the caption is input the user could have given.
    RECT outer = window_rect(hwnd);
    int caption_y = outer.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    click_at((outer.left + outer.right) / 2, caption_y);
    return wait_until([&] { return GetForegroundWindow() == hwnd; }, timeout_ms / 2);
}
