// The event queue, the window callback, button clicks and timers, driven in
// process through the real window system.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "toolkit/test_window_win32.h"

namespace {

LRESULT swallow_close(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_CLOSE ? 0 : CALLBACK_CONTINUE;
}

TEST_F(Events, PollOnAnIdleThreadReturnsNothing) {
    EXPECT_EQ(poll_event(), 0);
}

TEST_F(Events, ConsecutiveSizeMessagesMergeButInterleavedOnesDoNot) {
    LPARAM size = MAKELPARAM(320, 160);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, size);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, size);
    EXPECT_EQ(drain_events(), std::vector<int>{EVENT_RESIZE});

    SendMessageA(window, WM_SIZE, SIZE_RESTORED, size);
    SendMessageA(window, WM_MOVE, 0, MAKELPARAM(100, 100));
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, size);
    EXPECT_EQ(drain_events(), (std::vector<int>{EVENT_RESIZE, EVENT_MOVE, EVENT_RESIZE}));
}

TEST_F(Events, MaximiseAndRestoreAreAnnouncedBeforeTheirResize) {
    SendMessageA(window, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(800, 600));
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 160));
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 160));
    EXPECT_EQ(drain_events(),
              (std::vector<int>{EVENT_MAXIMIZE, EVENT_RESIZE, EVENT_RESTORE, EVENT_RESIZE}));
}

TEST_F(Events, CloseRequestIsAnEventAndLeavesTheWindowOpen) {
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(wait_for_kind(EVENT_CLOSE));
    EXPECT_EQ(event_control(), WINDOW);
    EXPECT_EQ(event_detail(), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(Events, WindowCallbackThatAnswersStopsTheToolkitsHandling) {
    set_window_callback(swallow_close);
    SendMessageA(window, WM_CLOSE, 0, 0);
    std::vector<int> swallowed = drain_events();
    set_window_callback(nullptr);
    SendMessageA(window, WM_CLOSE, 0, 0);
    std::vector<int> handled = drain_events();
    EXPECT_EQ(swallowed, std::vector<int>{});
    EXPECT_EQ(handled, std::vector<int>{EVENT_CLOSE});
}

TEST_F(Events, ButtonClickIsAControlEventFromTheCallThatDispatchedTheButtonUp) {
    RECT button;
    GetWindowRect(control_handle(LAST_BUTTON), &button);
    int x = (button.left + button.right) / 2;
    int y = (button.top + button.bottom) / 2;
    send_mouse(x, y, MOUSEEVENTF_LEFTDOWN);
    send_mouse(x, y, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(wait_for_kind(EVENT_CONTROL));
    EXPECT_EQ(event_control(), LAST_BUTTON);
    EXPECT_EQ(event_detail(), DETAIL_CLICK);
    EXPECT_EQ(event_window(), WINDOW);
}

TEST_F(Events, WindowTimerTicksAsTimerEvents) {
    ASSERT_NE(add_window_timer(WINDOW, 9256, 30), 0);
    bool ticked = wait_for_kind(EVENT_TIMER);
    int timer = event_timer();
    bool ticked_again = wait_for_kind(EVENT_TIMER);
    EXPECT_NE(remove_window_timer(WINDOW, 9256), 0);
    EXPECT_EQ(remove_window_timer(WINDOW, 9256), 0);
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(ticked_again);
    EXPECT_EQ(timer, 9256);
    EXPECT_EQ(event_detail(), DETAIL_NONE);
}

TEST(EventsOfANewWindow, ResizeAndShowQueueSizeMoveActivateAndRepaint) {
    prepare_toolkit(GetModuleHandleA(nullptr));
    constexpr int NUMBER = 3;
    HWND hwnd = open_window(NUMBER, 0, 0, 200, 100, "fresh", WINDOW_HIDDEN | WS_CAPTION, nullptr);
    ASSERT_NE(hwnd, nullptr);
    drain_events();
    resize_window(NUMBER, 40, 50, 240, 120);
    show_window(NUMBER, 0);
    std::vector<int> kinds = drain_events();
    close_window(NUMBER);

    // The system sends WM_MOVE before WM_SIZE for one SetWindowPos.
    ASSERT_GE(kinds.size(), 4u);
    EXPECT_EQ(std::min(kinds[0], kinds[1]), EVENT_MOVE);
    EXPECT_EQ(std::max(kinds[0], kinds[1]), EVENT_RESIZE);
    std::vector<int> wanted = {EVENT_ACTIVATE, EVENT_REPAINT};
    size_t found = 0;
    for (size_t i = 2; i < kinds.size(); ++i) {
        int kind = kinds[i];
        if (found < wanted.size() && kind == wanted[found]) {
            ++found;
        }
    }
    EXPECT_EQ(found, wanted.size());
}

}  // namespace
