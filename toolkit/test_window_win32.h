// What the in-process control tests share: one shown window with a list in
// it, real input, and pixels as drawn.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "toolkit/toolkit.h"

constexpr int LIST = 1;
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF GREEN = RGB(0, 255, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF WHITE = RGB(255, 255, 255);

// Takes events until one of `kind` with `detail` (any detail for -2) arrives or
// two seconds pass; returns the control details seen on the way.
std::vector<int> control_details_until(int kind, int detail);
void drain_events();
void click_client(HWND hwnd, int x, int y, int clicks);
void press_key(WORD key);
RECT line_rect(int line);
int top_line();
void repaint(HWND hwnd);
COLORREF pixel_at(HWND hwnd, int x, int y);
// Somewhere in the client area, in about that colour.
bool any_pixel_near(HWND hwnd, COLORREF color);

// One shown window for the whole suite: hiding or destroying a shown window is
// slow under Wine without a window manager.
class ShownWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prepare_toolkit(GetModuleHandleA(nullptr));
        window = open_window(0, 40, 40, 420, 320, "controls", WS_CAPTION | WS_SYSMENU, nullptr);
    }
    static void TearDownTestSuite() { release_toolkit(); }
    void SetUp() override {
        ASSERT_NE(window, nullptr);
        SetForegroundWindow(window);
    }
    void TearDown() override {
        for (int id = 0; id < 20; ++id) {
            DestroyWindow(control_handle(id));
        }
        set_window_color(0, COLOR_DEFAULT);
        drain_events();
    }
    static void make_list(int lines, int flags = 0x40004008);
    static HWND window;
};
