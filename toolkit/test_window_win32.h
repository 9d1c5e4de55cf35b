// What the in-process toolkit tests share: the shown windows of the control and
// event suites, real input, waiting for events, and pixels as drawn. One shown
// window serves a whole suite: under Wine without a window manager every hide
// or destroy of a shown window costs about two seconds.
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
constexpr DWORD WAIT_LIMIT_MS = 5000;

// The events window: number 0, sizable, with three buttons.
constexpr int WINDOW = 0;
constexpr int FIRST_BUTTON = 1;
constexpr int LAST_BUTTON = 3;

// Takes events until one of `kind` with `detail` (any detail for -2) arrives or
// two seconds pass; returns the control details seen on the way.
std::vector<int> control_details_until(int kind, int detail);
// Returns every kind poll_event hands out until it reports nothing pending.
std::vector<int> drain_events();
// Polls until an event of `kind` comes out; false when none came in time.
bool wait_for_kind(int kind);
bool make_foreground(HWND hwnd);
void send_key(WORD key, bool shift = false);
// A press or release at a point of the screen.
void send_mouse(int x, int y, DWORD button_flags);
void click_client(HWND hwnd, int x, int y, int clicks);
RECT line_rect(int line);
int top_line();
void repaint(HWND hwnd);
COLORREF pixel_at(HWND hwnd, int x, int y);
// Somewhere in the client area, in about that colour.
bool any_pixel_near(HWND hwnd, COLORREF color);

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

class Events : public ::testing::Test {
protected:
    static HWND window;

    static void SetUpTestSuite();

    static void TearDownTestSuite() { close_window(WINDOW); }

    void SetUp() override {
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(make_foreground(window));
    }
};
