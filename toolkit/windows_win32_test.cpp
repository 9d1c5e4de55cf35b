// Opening, placing, resizing, colouring and closing toolkit windows. Most
// cases use windows that are never shown: under Wine without a window manager
// hiding or destroying a shown window costs about two seconds.
#include <windows.h>

#include <gtest/gtest.h>

#include "toolkit/windows_win32.h"

namespace {

constexpr DWORD HIDDEN_CAPTION = WINDOW_HIDDEN | WS_CAPTION | WS_SYSMENU;
constexpr DWORD WAIT_LIMIT_MS = 5000;

RECT outer_rect(HWND hwnd) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return rect;
}

// Processes messages until the window has nothing left to paint.
bool settle_painting(HWND hwnd) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < WAIT_LIMIT_MS) {
        while (poll_event() != 0) {
        }
        if (!GetUpdateRect(hwnd, nullptr, FALSE)) {
            return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

COLORREF client_pixel(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return pixel;
}

class Windows : public ::testing::Test {
protected:
    static void SetUpTestSuite() { prepare_toolkit(GetModuleHandleA(nullptr)); }

    void TearDown() override {
        for (int window = 10; window < 20; ++window) {
            close_window(window);
        }
    }
};

TEST_F(Windows, CentringOnAnOwnerPartlyOffScreenKeepsTheCornerOnScreen) {
    HWND left_owner = open_window(10, -300, 200, 400, 300, "owner",
                                  HIDDEN_CAPTION | WINDOW_NO_CONTAINER, nullptr);
    HWND top_owner = open_window(11, 200, -250, 400, 300, "owner",
                                 HIDDEN_CAPTION | WINDOW_NO_CONTAINER, nullptr);
    ASSERT_EQ(window_x(10), -300);
    ASSERT_EQ(window_y(11), -250);

    HWND beside =
        open_window(12, 0, 0, 500, 100, "a", HIDDEN_CAPTION | WINDOW_CENTER_OWNER, left_owner);
    HWND below =
        open_window(13, 0, 0, 300, 500, "b", HIDDEN_CAPTION | WINDOW_CENTER_OWNER, top_owner);
    ASSERT_NE(beside, nullptr);
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(GetWindow(beside, GW_OWNER), left_owner);

    RECT owner = outer_rect(left_owner);
    RECT placed = outer_rect(beside);
    int expected_y = owner.top + ((owner.bottom - owner.top) - (placed.bottom - placed.top)) / 2;
    EXPECT_EQ(window_x(12), 0);
    EXPECT_EQ(window_y(12), expected_y);

    owner = outer_rect(top_owner);
    placed = outer_rect(below);
    int expected_x = owner.left + ((owner.right - owner.left) - (placed.right - placed.left)) / 2;
    EXPECT_EQ(window_x(13), expected_x);
    EXPECT_EQ(window_y(13), 0);
}

TEST_F(Windows, ScreenCentringLimitsAWindowLargerThanTheScreenToTheScreen) {
    int screen_width = GetSystemMetrics(SM_CXSCREEN);
    int screen_height = GetSystemMetrics(SM_CYSCREEN);
    HWND huge = open_window(10, 0, 0, screen_width * 3, screen_height * 2, "huge",
                            HIDDEN_CAPTION | WINDOW_CENTER_SCREEN | WINDOW_CENTER_OWNER, nullptr);
    ASSERT_NE(huge, nullptr);
    RECT rect = outer_rect(huge);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, screen_width);
    EXPECT_EQ(rect.bottom, screen_height);

    HWND small =
        open_window(11, 0, 0, 201, 99, "small", HIDDEN_CAPTION | WINDOW_CENTER_SCREEN, nullptr);
    rect = outer_rect(small);
    EXPECT_EQ(rect.left, (screen_width - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, (screen_height - (rect.bottom - rect.top)) / 2);
    EXPECT_EQ(window_inner_width(11), 201);
    EXPECT_EQ(window_inner_height(11), 99);
}

TEST_F(Windows, ResizeKeepsWhatIsGivenAsKeepValue) {
    ASSERT_NE(open_window(10, 50, 60, 200, 100, "resize", HIDDEN_CAPTION, nullptr), nullptr);
    EXPECT_NE(resize_window(10, KEEP_VALUE, KEEP_VALUE, 300, 150), 0);
    EXPECT_EQ(window_x(10), 50);
    EXPECT_EQ(window_y(10), 60);
    EXPECT_EQ(window_inner_width(10), 300);
    EXPECT_EQ(window_inner_height(10), 150);

    resize_window(10, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, 90);
    EXPECT_EQ(window_inner_width(10), 300);
    EXPECT_EQ(window_inner_height(10), 90);

    resize_window(10, 70, KEEP_VALUE, 120, KEEP_VALUE);
    EXPECT_EQ(window_x(10), 70);
    EXPECT_EQ(window_y(10), 60);
    EXPECT_EQ(window_inner_width(10), 120);
    EXPECT_EQ(window_inner_height(10), 90);
}

TEST_F(Windows, FlagsBecomeTheNativeStyleAndTheClassIsPerNumber) {
    HWND container = open_window(10, 0, 0, 100, 100, "c", WINDOW_HIDDEN, nullptr);
    HWND side =
        open_window(11, 0, 0, 100, 100, "",
                    WINDOW_HIDDEN | WINDOW_NO_CONTAINER | WS_POPUP | WS_BORDER | 4, nullptr);
    ASSERT_NE(container, nullptr);
    ASSERT_NE(side, nullptr);
    EXPECT_EQ(window_handle(11), side);
    EXPECT_EQ(container_window(), container);

    LONG plain = GetWindowLongA(container, GWL_STYLE);
    EXPECT_EQ(plain & WS_CAPTION, WS_CAPTION);  // nothing but toolkit bits: a caption is added
    EXPECT_EQ(plain & WS_VISIBLE, 0);
    LONG given = GetWindowLongA(side, GWL_STYLE);
    EXPECT_EQ(given & WS_CAPTION, WS_BORDER);
    EXPECT_EQ(given & 7, 0);
    EXPECT_EQ(GetWindowTextLengthA(side), 0);

    WNDCLASSA window_class = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "WindowClass_11", &window_class));
    EXPECT_EQ(window_class.style, static_cast<UINT>(CS_DBLCLKS));
}

TEST_F(Windows, ClosingFreesTheNumberAndItsClass) {
    HWND hwnd = open_window(10, 0, 0, 100, 100, "gone", HIDDEN_CAPTION, nullptr);
    ASSERT_NE(hwnd, nullptr);
    close_window(10);
    WNDCLASSA window_class = {};
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "WindowClass_10", &window_class));
    EXPECT_EQ(window_handle(10), nullptr);
    EXPECT_EQ(resize_window(10, 0, 0, 50, 50), 0);
    EXPECT_EQ(window_inner_width(10), 0);
    EXPECT_EQ(container_window(), nullptr);
}

TEST_F(Windows, FailedCreationLeavesTheNumberFree) {
    HWND not_a_window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7654321));
    EXPECT_EQ(open_window(10, 0, 0, 100, 100, "x", HIDDEN_CAPTION, not_a_window), nullptr);
    WNDCLASSA window_class = {};
    EXPECT_EQ(window_handle(10), nullptr);
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "WindowClass_10", &window_class));
}

TEST_F(Windows, ReleasingTheToolkitClosesEveryWindowAndMayRunTwice) {
    HWND first = open_window(10, 0, 0, 100, 100, "1", HIDDEN_CAPTION, nullptr);
    HWND second = open_window(11, 0, 0, 100, 100, "2", HIDDEN_CAPTION, nullptr);
    release_toolkit();
    release_toolkit();
    prepare_toolkit(GetModuleHandleA(nullptr));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(window_handle(11), nullptr);
}

// The one window of this file that is shown.
TEST_F(Windows, HiddenWindowStaysHiddenUntilShownAndRepaintsOnlyOnAColourChange) {
    const COLORREF RED = RGB(200, 30, 40);
    HWND hwnd = open_window(10, 80, 80, 160, 120, "colour", HIDDEN_CAPTION, nullptr);
    ASSERT_NE(hwnd, nullptr);
    resize_window(10, 90, 90, 180, 130);
    set_window_color(10, RED);
    EXPECT_FALSE(IsWindowVisible(hwnd));

    show_window(10, 0);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    ASSERT_TRUE(settle_painting(hwnd));
    EXPECT_EQ(client_pixel(hwnd, 90, 65), RED);

    set_window_color(10, RED);
    EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
    set_window_color(10, COLOR_DEFAULT);
    EXPECT_TRUE(GetUpdateRect(hwnd, nullptr, FALSE));
    ASSERT_TRUE(settle_painting(hwnd));
    EXPECT_EQ(client_pixel(hwnd, 90, 65), GetSysColor(COLOR_BTNFACE));

    show_window(10, 1);
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

}  // namespace
