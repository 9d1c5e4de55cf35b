// The list control in a real window: events from real input, lines read
// back, shortcuts that keep keys from it, and the grid as drawn.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/test_window_win32.h"

namespace {

TEST_F(ShownWindow, DoubleClickOnAnUnselectedLineGivesChangeClickDoubleClick) {
    make_list(5);
    RECT line = line_rect(2);
    click_client(control_handle(LIST), 20, (line.top + line.bottom) / 2, 2);
    std::vector<int> details = control_details_until(EVENT_CONTROL, DETAIL_DOUBLE_CLICK);
    drain_events();
    EXPECT_EQ(details, (std::vector<int>{DETAIL_CHANGE, DETAIL_CLICK, DETAIL_DOUBLE_CLICK}));
    EXPECT_EQ(list_selected_index(LIST), 2);
    EXPECT_EQ(control_text(LIST), "line 2");
}

TEST_F(ShownWindow, ClickBelowTheLinesClearsTheSelectionAndReportsTheChangeFirst) {
    make_list(3);
    list_select(LIST, 1);
    drain_events();
    click_client(control_handle(LIST), 20, 180, 1);
    std::vector<int> details = control_details_until(EVENT_CONTROL, DETAIL_CLICK);
    // The control reports the lost selection at the button-down and the click
    // check again at the button-up; the loop read the first one in between, so
    // the two do not merge. Either way every change precedes the click.
    ASSERT_GE(details.size(), 2u);
    EXPECT_EQ(details.back(), DETAIL_CLICK);
    details.pop_back();
    EXPECT_EQ(details, std::vector<int>(details.size(), DETAIL_CHANGE));
    EXPECT_EQ(list_selected_index(LIST), -1);
    EXPECT_EQ(control_text(LIST), "");
}

TEST_F(ShownWindow, ASelectionLostWithoutNoticeIsReportedAtTheNextClick) {
    make_list(3);
    list_select(LIST, 1);
    SendMessageA(control_handle(LIST), LVM_DELETEITEM, 1, 0);  // deleting sends no change
    drain_events();
    ASSERT_EQ(list_selected_index(LIST), -1);
    click_client(control_handle(LIST), 20, 180, 1);
    EXPECT_EQ(control_details_until(EVENT_CONTROL, DETAIL_CLICK),
              (std::vector<int>{DETAIL_CHANGE, DETAIL_CLICK}));
}

TEST_F(ShownWindow, SelectionByProgramScrollsClearsAndReportsOnlySelectionChanges) {
    make_list(300);
    list_select(LIST, 299);
    EXPECT_GT(top_line(), 0);
    list_select(LIST, 0);
    EXPECT_EQ(top_line(), 0);
    EXPECT_EQ(list_selected_index(LIST), 0);
    EXPECT_EQ(poll_event(), EVENT_CONTROL);
    EXPECT_EQ(event_detail(), DETAIL_CHANGE);
    drain_events();

    list_select(LIST, -1);
    EXPECT_EQ(list_selected_index(LIST), -1);
    EXPECT_EQ(poll_event(), EVENT_CONTROL);
    EXPECT_EQ(event_detail(), DETAIL_CHANGE);
    drain_events();

    // Moving only the focus, here off a selected line, is no selection change.
    list_select(LIST, 3);
    drain_events();
    LVITEMA focus{};
    focus.stateMask = focus.state = LVIS_FOCUSED;
    SendMessageA(control_handle(LIST), LVM_SETITEMSTATE, 5, reinterpret_cast<LPARAM>(&focus));
    for (int kind = poll_event(); kind != 0; kind = poll_event()) {
        EXPECT_NE(kind, EVENT_CONTROL);
    }
}

TEST_F(ShownWindow, LinesComeBackWholeAtAnyLength) {
    make_list(2);
    std::string long_line(5000, 'x');
    long_line += "end";
    list_add_item(LIST, 1, long_line);
    list_add_item(LIST, 0, "first");
    EXPECT_EQ(list_item_text(LIST, 0), "first");
    EXPECT_EQ(list_item_text(LIST, 2), long_line);
    EXPECT_EQ(list_item_text(LIST, 3), "line 1");
    EXPECT_EQ(list_item_text(LIST, 4), "");
    EXPECT_EQ(list_item_text(LIST, -1), "");
    EXPECT_EQ(list_item_text(99, 0), "");
}

// A subclass over the toolkit's own, counting the keys the list is sent.
WNDPROC toolkit_list_procedure = nullptr;
int list_key_downs[256];
LRESULT CALLBACK counting_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_KEYDOWN && wparam < 256) {
        ++list_key_downs[wparam];
    }
    return CallWindowProcA(toolkit_list_procedure, hwnd, message, wparam, lparam);
}

TEST_F(ShownWindow, EnterBoundAsAShortcutNeverReachesTheList) {
    make_list(4);
    add_shortcut(0, VK_RETURN, 1);
    HWND list = control_handle(LIST);
    toolkit_list_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_procedure)));
    focus_control(LIST);
    ASSERT_EQ(focused_control(), LIST);
    send_key(VK_DOWN);
    control_details_until(WM_KEYUP, -2);
    send_key(VK_RETURN);
    control_details_until(EVENT_SHORTCUT, -2);
    EXPECT_EQ(event_shortcut(), 1);
    EXPECT_GT(list_key_downs[VK_DOWN], 0);  // the counter does see unbound keys
    EXPECT_EQ(list_key_downs[VK_RETURN], 0);
    focus_control(-1);
    EXPECT_EQ(focused_control(), -1);
}

// Rows of column `x` of the list drawn in `color`.
std::vector<int> rows_in_color(int x, COLORREF color) {
    HWND list = control_handle(LIST);
    repaint(list);
    RECT client;
    GetClientRect(list, &client);
    std::vector<int> rows;
    for (int y = 0; y < client.bottom; ++y) {
        if (pixel_at(list, x, y) == color) {
            rows.push_back(y);
        }
    }
    return rows;
}

void expect_rules_to_the_bottom(const std::vector<int>& rows, int first, int pitch) {
    RECT client;
    GetClientRect(control_handle(LIST), &client);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), first);
    for (size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i] - rows[i - 1], pitch) << "rule " << i;
    }
    EXPECT_GE(rows.back() + pitch, client.bottom);
}

TEST_F(ShownWindow, GridRulesRunAtTheRowPitchDownToTheBottom) {
    make_list(3, 0x40004008 | LIST_GRID_LINES);
    set_control_color(LIST, COLOR_SLOT_BACK, WHITE);
    set_control_color(LIST, COLOR_SLOT_LINE, RED);
    RECT line0 = line_rect(0);
    int pitch = line_rect(1).top - line0.top;
    ASSERT_GT(pitch, 0);
    std::vector<int> rows = rows_in_color(250, RED);
    expect_rules_to_the_bottom(rows, line0.bottom - 1, pitch);
    EXPECT_GT(rows.size(), 3u);  // the empty area under the lines is ruled too
    int column_edge =
        static_cast<int>(SendMessageA(control_handle(LIST), LVM_GETCOLUMNWIDTH, 0, 0));
    EXPECT_EQ(pixel_at(control_handle(LIST), column_edge - 1, 150), RED);

    SendMessageA(control_handle(LIST), LVM_DELETEALLITEMS, 0, 0);
    repaint(control_handle(LIST));  // the first paint of an empty list measures a row
    expect_rules_to_the_bottom(rows_in_color(250, RED), line0.bottom - 1, pitch);

    for (int i = 0; i < 100; ++i) {
        list_add_item(LIST, -1, "more");
    }
    list_select(LIST, 99);
    ASSERT_GT(top_line(), 0);
    rows = rows_in_color(250, RED);
    int scrolled_first = line_rect(top_line()).bottom - 1;
    expect_rules_to_the_bottom(rows, scrolled_first, pitch);
}

}  // namespace
