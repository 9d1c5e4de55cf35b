// Live sizing: a border drag in the shared events window keeps the tool's loop
// running and resizing.
#include <windows.h>

#include <gtest/gtest.h>

#include "toolkit/test_window_win32.h"

namespace {

// Under Wine without a window manager the frame of a captioned window is not
// part of the X window, so real mouse input never reaches the sizing border.
// The press and the moves are therefore posted as the system would queue
// them, with the cursor placed first (a posted message carries the cursor
// position of its posting time, which the drag reads back).
// A cursor move can land a little after SetCursorPos returns (seen inside a
// Wine virtual desktop), so the move is awaited before the message is posted.
void post_mouse(HWND hwnd, UINT message, WPARAM wparam, int x, int y) {
    SetCursorPos(x, y);
    POINT cursor = {};
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000;) {
        GetCursorPos(&cursor);
        if (cursor.x == x && cursor.y == y) {
            break;
        }
        Sleep(5);
    }
    POINT point = {x, y};
    if (message != WM_NCLBUTTONDOWN) {
        ScreenToClient(hwnd, &point);
    }
    PostMessageA(hwnd, message, wparam, MAKELPARAM(point.x, point.y));
}

TEST_F(Events, DraggingTheRightBorderResizesWhileTheButtonIsStillDown) {
    // The toolkit runs the drag itself only when the system shows window
    // contents while dragging (the Windows default; Wine starts with it off).
    // Switched on for this session only, and restored below.
    BOOL full_drag = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full_drag, 0);
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    // Room to the right of the border: the cursor cannot leave the screen.
    resize_window(WINDOW, 100, 100, KEEP_VALUE, KEEP_VALUE);
    drain_events();
    RECT outer;
    GetWindowRect(window, &outer);
    int width_before = window_inner_width(WINDOW);
    int height_before = window_inner_height(WINDOW);
    int x = outer.right - 2;
    int y = (outer.top + outer.bottom) / 2;

    post_mouse(window, WM_NCLBUTTONDOWN, HTRIGHT, x, y);
    bool pressed = wait_for_kind(WM_NCLBUTTONDOWN);
    bool captured = GetCapture() == window;
    post_mouse(window, WM_MOUSEMOVE, MK_LBUTTON, x + 40, y);
    bool resized_during_drag = wait_for_kind(EVENT_RESIZE);
    int width_during_drag = window_inner_width(WINDOW);
    int height_during_drag = window_inner_height(WINDOW);
    post_mouse(window, WM_LBUTTONUP, 0, x + 40, y);
    wait_for_kind(WM_LBUTTONUP);
    HWND capture_after = GetCapture();
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, full_drag, nullptr, 0);
    resize_window(WINDOW, KEEP_VALUE, KEEP_VALUE, 320, 160);
    drain_events();

    ASSERT_TRUE(pressed);
    EXPECT_TRUE(captured);
    EXPECT_TRUE(resized_during_drag);
    EXPECT_EQ(width_during_drag, width_before + 40);
    EXPECT_EQ(height_during_drag, height_before);
    EXPECT_EQ(capture_after, nullptr);
}

}  // namespace
