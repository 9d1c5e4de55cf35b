// Controls in a real window under the window system: labels' colours and
// brushes, fonts as the system reports them, handle counts after a release.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/test_window_win32.h"

namespace {

HFONT font_of(int id) {
    return reinterpret_cast<HFONT>(SendMessageA(control_handle(id), WM_GETFONT, 0, 0));
}

TEST_F(ShownWindow, LabelColoursFollowTheirOwnRules) {
    set_window_color(0, BLUE);
    HWND back_only = create_label(10, 10, 10, 150, 40, "XXXX", 0);
    HWND text_only = create_label(11, 10, 60, 150, 40, "XXXX", 0);
    set_control_color(10, COLOR_SLOT_BACK, GREEN);
    set_control_color(11, COLOR_SLOT_TEXT, RED);
    repaint(window);
    EXPECT_EQ(pixel_at(back_only, 145, 35), GREEN);
    EXPECT_TRUE(any_pixel_near(back_only, GetSysColor(COLOR_WINDOWTEXT)));
    EXPECT_EQ(pixel_at(text_only, 145, 35), GetSysColor(COLOR_BTNFACE));
    EXPECT_TRUE(any_pixel_near(text_only, RED));
}

HBRUSH label_brush(HWND label) {
    HDC dc = CreateCompatibleDC(nullptr);
    LRESULT brush = SendMessageA(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(label));
    DeleteDC(dc);
    return reinterpret_cast<HBRUSH>(brush);
}

TEST_F(ShownWindow, LabelsOfOneColourShareABrushUntilTheLastLetsGo) {
    HWND first = create_label(10, 10, 10, 100, 20, "a", 0);
    HWND second = create_label(11, 10, 40, 100, 20, "b", 0);
    set_control_color(10, COLOR_SLOT_BACK, GREEN);
    set_control_color(11, COLOR_SLOT_BACK, GREEN);
    HBRUSH shared = label_brush(first);
    ASSERT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(label_brush(second), shared);
    set_control_color(10, COLOR_SLOT_BACK, COLOR_DEFAULT);
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_BRUSH));
    DestroyWindow(second);
    EXPECT_EQ(control_handle(11), nullptr);
    EXPECT_EQ(GetObjectType(shared), 0u);
}

TEST_F(ShownWindow, TheDefaultFontReachesOnlyLaterControls) {
    HFONT font = load_font(0, "Verdana", 9);
    LOGFONTA described{};
    ASSERT_EQ(GetObjectA(font, sizeof(described), &described), static_cast<int>(sizeof(described)));
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    int dpi = GetDeviceCaps(display, LOGPIXELSY);
    DeleteDC(display);
    EXPECT_EQ(described.lfHeight, -MulDiv(9, dpi, 72));
    if (dpi == 96) {
        EXPECT_EQ(described.lfHeight, -12);
    }
    EXPECT_STREQ(described.lfFaceName, "Verdana");

    create_button(1, 10, 10, 80, 24, "before");
    set_control_font(-1, font);
    create_label(0, 10, 40, 80, 24, "after", 1);
    create_button(2, 10, 70, 80, 24, "after");
    EXPECT_EQ(font_of(1), GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(font_of(0), font);
    EXPECT_EQ(font_of(2), font);
    set_control_font(-1, nullptr);
    EXPECT_EQ(font_of(2), font);
    set_control_font(1, font);
    EXPECT_EQ(font_of(1), font);
}

TEST_F(ShownWindow, TextIsMeasuredInTheControlsOwnFont) {
    HFONT large = load_font(1, "Arial", 24);
    create_label(10, 10, 10, 300, 40, "", 0);
    create_label(11, 10, 60, 300, 40, "", 0);
    set_control_font(11, large);
    SIZE expected = {0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, large);
    GetTextExtentPoint32A(dc, "Wide text", 9, &expected);
    SelectObject(dc, old);
    DeleteDC(dc);
    SIZE in_large = control_text_extent(11, "Wide text");
    EXPECT_EQ(in_large.cx, expected.cx);
    EXPECT_EQ(in_large.cy, expected.cy);
    EXPECT_LT(control_text_extent(10, "Wide text").cx, in_large.cx);
    EXPECT_EQ(control_text_extent(11, "").cx, 0);
    SIZE none = control_text_extent(99, "Wide text");
    EXPECT_EQ(none.cx + none.cy, 0);
}

// What one run of a tool leaves to the release: a hidden window full of
// controls, colours and fonts. Returns the GDI objects handed out on the way.
std::vector<HGDIOBJ> run_tool_cycle() {
    std::vector<HGDIOBJ> handed_out;
    prepare_toolkit(GetModuleHandleA(nullptr));
    open_window(0, 0, 0, 300, 200, "cycle", WINDOW_HIDDEN | WS_CAPTION, nullptr);
    set_window_color(0, BLUE);
    handed_out.push_back(load_font(0, "Verdana", 9));
    handed_out.push_back(load_font(0, "Arial", 12));  // the slot loaded again
    handed_out.push_back(load_font(1, "Courier New", 10));
    set_control_font(-1, static_cast<HFONT>(handed_out[2]));
    create_list_view(LIST, 0, 0, 200, 100, "", 200, 0x40004008 | LIST_GRID_LINES);
    set_control_font(LIST, static_cast<HFONT>(handed_out[1]));
    set_control_color(LIST, COLOR_SLOT_BACK, GREEN);
    set_control_color(LIST, COLOR_SLOT_LINE, RED);
    for (int i = 0; i < 50; ++i) {
        list_add_item(LIST, -1, "line");
    }
    for (int id = 2; id < 6; ++id) {
        HWND label = create_label(id, 0, 100 + id * 10, 80, 10, "label", 0);
        set_control_color(id, COLOR_SLOT_BACK, id % 2 ? GREEN : WHITE);
        set_control_color(id, COLOR_SLOT_TEXT, RED);
        handed_out.push_back(label_brush(label));
    }
    create_label(2, 0, 100, 80, 10, "replaces the first", 0);
    create_button(6, 100, 100, 80, 20, "button");
    HDC print = CreateCompatibleDC(nullptr);
    SendMessageA(control_handle(LIST), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(print), PRF_CLIENT);
    DeleteDC(print);
    close_window(0);
    release_toolkit();
    return handed_out;
}

int icon_width(HWND control) {
    HICON icon = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0));
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

TEST_F(ShownWindow, AnIconIsDrawnAtItsSizeAndLoadedAgainWhenResized) {
    EXPECT_EQ(create_icon(10, 5, 5, 32, ICON_NONE), nullptr);
    HWND icon = create_icon(10, 5, 5, 32, ICON_WARNING);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon_width(icon), 32);
    resize_control(10, 5, 5, 48, 48);
    EXPECT_EQ(icon_width(icon), 48);
    RECT client{};
    GetClientRect(icon, &client);
    EXPECT_EQ(client.right, 48);
    EXPECT_GE(system_icon_size(192), 2 * system_icon_size(96) - 1);
}

TEST(ToolkitCycles, ReleaseDeletesEveryFontAndBrushAndForgetsEveryControl) {
    std::vector<HGDIOBJ> handed_out = run_tool_cycle();
    ASSERT_EQ(handed_out.size(), 7u);
    for (size_t i = 0; i < handed_out.size(); ++i) {
        EXPECT_NE(handed_out[i], nullptr) << i;
        EXPECT_EQ(GetObjectType(handed_out[i]), 0u) << "object " << i << " still exists";
    }
    for (int id = 0; id < 8; ++id) {
        EXPECT_EQ(control_handle(id), nullptr) << id;
    }
}

TEST(ToolkitCycles, GuiResourceCountsReturnToTheStart) {
    HANDLE process = GetCurrentProcess();
    run_tool_cycle();  // first-use allocations of the system stay for the process
    DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    if (gdi == 0 && user == 0) {
        // Wine answers 0 for both counts; Windows never does for a GUI process.
        GTEST_SKIP() << "GetGuiResources reports no counts here";
    }
    for (int i = 0; i < 30; ++i) {
        run_tool_cycle();
    }
    EXPECT_EQ(GetGuiResources(process, GR_GDIOBJECTS), gdi);
    EXPECT_EQ(GetGuiResources(process, GR_USEROBJECTS), user);
}

}  // namespace
