// Display density in the toolkit: the MulDiv twin against the system's own,
// the density of a window, fonts sized for a density, and the move of a window
// to a display of another density. The windows are never shown.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "toolkit/dpi_scale.h"
#include "toolkit/test_window_win32.h"

namespace {

constexpr int DPI_WINDOW = 30;
constexpr DWORD HIDDEN_CAPTION = WINDOW_HIDDEN | WS_CAPTION | WS_SYSMENU;

int font_pixel_height(HFONT font) {
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    return description.lfHeight;
}

class Dpi : public ::testing::Test {
protected:
    static void SetUpTestSuite() { prepare_toolkit(GetModuleHandleA(nullptr)); }
    void TearDown() override {
        close_window(DPI_WINDOW);
        drain_events();
    }
};

}  // namespace

TEST(DpiMulDiv, TheTwinAnswersAsTheSystemsMulDiv) {
    const int numbers[] = {-2147483647, -1000000, -301, -97, -49, -48, -47, -5,      -1,        0,
                           1,           5,        47,   48,  49,  97,  301, 1000000, 2147483647};
    const int factors[] = {-192, -7, -1, 0, 1, 2, 3, 72, 96, 120, 144, 168, 192, 65535};
    for (int number : numbers) {
        for (int numerator : factors) {
            for (int denominator : factors) {
                ASSERT_EQ(mul_div(number, numerator, denominator),
                          MulDiv(number, numerator, denominator))
                    << number << " * " << numerator << " / " << denominator;
            }
        }
    }
}

TEST_F(Dpi, AWindowAndTheWholeDisplayHaveTheDensityFontsAreSizedFor) {
    HDC screen = GetDC(nullptr);
    const int display = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(window_dpi(-1), display);
    ASSERT_TRUE(open_window(DPI_WINDOW, 0, 0, 200, 100, "dpi", HIDDEN_CAPTION, nullptr));
    // One display: the window's density is the display's.
    EXPECT_EQ(window_dpi(DPI_WINDOW), display);

    EXPECT_EQ(font_pixel_height(load_font(5, "Arial", 9)), -MulDiv(9, display, 72));
    EXPECT_EQ(font_pixel_height(load_font(5, "Arial", 9, 144)), -18);
    EXPECT_EQ(font_pixel_height(load_font(5, "Arial", 9, 120)), -15);
    EXPECT_EQ(font_pixel_height(load_font(5, "Arial", 10, 96)), -13);
}

TEST_F(Dpi, AMoveToAnotherDensityTakesTheSuggestedRectangleAndTellsTheNewDpiFirst) {
    HWND hwnd = open_window(DPI_WINDOW, 10, 10, 200, 100, "dpi", HIDDEN_CAPTION, nullptr);
    ASSERT_TRUE(hwnd);
    drain_events();
    RECT suggested = {40, 50, 40 + 330, 50 + 190};
    SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT outer = {};
    GetWindowRect(hwnd, &outer);
    EXPECT_TRUE(EqualRect(&outer, &suggested));

    ASSERT_EQ(poll_event(), EVENT_DPI_CHANGE);
    EXPECT_EQ(event_detail(), 144);
    EXPECT_EQ(event_window(), DPI_WINDOW);
    std::vector<int> after = drain_events();
    EXPECT_NE(std::find(after.begin(), after.end(), EVENT_RESIZE), after.end());

    // A density the layouts cannot use reads as 96.
    SendMessageA(hwnd, WM_DPICHANGED, 0, reinterpret_cast<LPARAM>(&suggested));
    ASSERT_EQ(poll_event(), EVENT_DPI_CHANGE);
    EXPECT_EQ(event_detail(), 96);
}
