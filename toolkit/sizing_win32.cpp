// Live sizing by the border.
//
// DefWindowProc answers a press on the sizing border with its own modal loop
// (SC_SIZE), which keeps wait_event from returning until the button is
// released. When the system shows window contents while dragging, the
// toolkit instead captures the mouse and resizes the window itself on each
// WM_MOUSEMOVE, so every move goes back through the tool's loop and the
// resulting EVENT_RESIZE reaches it during the drag. The steps follow the
// system's loop: WM_GETMINMAXINFO limits, WM_SIZING, then SetWindowPos.
// Moving by the caption is left to the system.
#include <windows.h>
#include <windowsx.h>

#include "toolkit/sizing.h"
#include "toolkit/sizing_win32.h"

static_assert(SIZE_EDGE_LEFT == WMSZ_LEFT && SIZE_EDGE_RIGHT == WMSZ_RIGHT &&
                  SIZE_EDGE_TOP == WMSZ_TOP && SIZE_EDGE_TOP_LEFT == WMSZ_TOPLEFT &&
                  SIZE_EDGE_TOP_RIGHT == WMSZ_TOPRIGHT && SIZE_EDGE_BOTTOM == WMSZ_BOTTOM &&
                  SIZE_EDGE_BOTTOM_LEFT == WMSZ_BOTTOMLEFT &&
                  SIZE_EDGE_BOTTOM_RIGHT == WMSZ_BOTTOMRIGHT,
              "sizing edges must be the WM_SIZING edge numbers");
static_assert(HTBOTTOMRIGHT - HTLEFT == WMSZ_BOTTOMRIGHT - WMSZ_LEFT,
              "the sizing border hit codes run in the order of the sizing edges");

namespace {

// A border drag run by the toolkit instead of the system's modal sizing loop.
struct SizingDrag {
    HWND hwnd;
    int edge;
    POINT start_cursor;
    SizeBox start_box;
};

SizingDrag sizing_drag = {};

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

}  // namespace

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

void forget_sizing_drag(HWND hwnd) {
    if (sizing_drag.hwnd == hwnd) {
        sizing_drag.hwnd = nullptr;
    }
}
