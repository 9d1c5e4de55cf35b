// The pick window's size and place: fitted to its lines as the geometry
// arithmetic says for what the tool measured, on the work area's centre,
// cut to the work area, and following a resize.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"
#include "tests/e2e/pick_measure.h"

namespace {

const std::vector<std::string> COLOURS = {"red", "green", "a b", "   ", "", "blue"};

// The tool fits its column to the widest of its own measure of the lines
// and the list's fit.
int column_of(const std::vector<std::string>& lines) {
    TwinFit fit = twin_fit(lines);
    return std::max(fit.header, fit.line);
}

int inner_width(HWND window) {
    RECT inner = {};
    GetClientRect(window, &inner);
    return inner.right;
}

void expect_list_fills(Pick& pick, int margin) {
    expect_list_margin(pick.window, pick.list, margin);
}

// Resizes the window from outside, as a drag on its border ends up doing.
void resize_by_hand(Pick& pick, int width, int height) {
    SetWindowPos(pick.window, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT inner = {};
    wait_until([&] {
        GetClientRect(pick.window, &inner);
        RECT list = rect_in_client(pick.window, pick.list);
        return list.right > 0 && list.bottom == inner.bottom - (list.top);
    });
}

}  // namespace

// ---- Size and place ---------------------------------------------------------

TEST(PickGeometry, NormalWindowFitsItsLinesOnTheWorkAreaCentreAndFollowsResizing) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours");
    ASSERT_TRUE(pick.window);
    expect_pick_geometry(pick, compute_pick_geometry(measured_geometry_input(
                                   (int)COLOURS.size(), row_height(pick), column_of(COLOURS))));
    expect_list_fills(pick, 0);
    resize_by_hand(pick, 420, 333);
    expect_list_fills(pick, 0);
    press_in(pick, VK_ESCAPE);
    EXPECT_EQ(finish(pick).exit_code, 0u);
}

TEST(PickGeometry, MenuWindowKeepsATwentyPixelFrame) {
    Pick pick = start_pick(lines_text(COLOURS), "Menu /menu");
    ASSERT_TRUE(pick.window);
    GeometryInput in =
        measured_geometry_input((int)COLOURS.size(), row_height(pick), column_of(COLOURS));
    in.menu = true;
    expect_pick_geometry(pick, compute_pick_geometry(in));
    expect_list_fills(pick, 20);
    EXPECT_EQ(GetWindowLongA(pick.list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    resize_by_hand(pick, 500, 380);
    expect_list_fills(pick, 20);
    press_in(pick, VK_ESCAPE);
    EXPECT_EQ(finish(pick).exit_code, 0u);
}

TEST(PickGeometry, EmptyListStillShowsAWindowOfTheMinimumHeight) {
    Pick pick = start_pick("", "Empty \"x=$item\"");
    ASSERT_TRUE(pick.window);
    RECT inner = {};
    GetClientRect(pick.window, &inner);
    GeometryInput in = measured_geometry_input(0, PICK_DEFAULT_ROW_HEIGHT, 0);
    EXPECT_EQ(inner.bottom, compute_pick_geometry(in).inner_height);
    EXPECT_EQ(selected_line(pick.list), -1);
    expect_enter_ignored_then_escape_cancels(pick);  // nothing to accept
}

TEST(PickGeometry, LargeOffsetsStopAtTheWorkAreaEdges) {
    for (int dx : {5000, -5000}) {
        SCOPED_TRACE(dx);
        Pick pick = start_pick(lines_text(COLOURS), "Colours /dx=" + std::to_string(dx));
        ASSERT_TRUE(pick.window);
        GeometryInput in =
            measured_geometry_input((int)COLOURS.size(), row_height(pick), column_of(COLOURS));
        in.offset_x = dx;
        EXPECT_EQ(window_rect(pick.window).left, compute_pick_geometry(in).x);
        press_in(pick, VK_ESCAPE);
        finish(pick);
    }
}

TEST(PickGeometry, TallListIsCutToTheWorkAreaAndLine300Gives255) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 300; ++i)
        lines.push_back("line " + std::to_string(i));
    Pick pick = start_pick(lines_text(lines), "Many \"$item\"");
    ASSERT_TRUE(pick.window);
    PickGeometry expected =
        compute_pick_geometry(measured_geometry_input(300, row_height(pick), column_of(lines)));
    ASSERT_TRUE(expected.scrolled);  // the cut applies
    expect_pick_geometry(pick, expected);
    press_in(pick, VK_END);
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == 299; }));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 255u);
    EXPECT_EQ(end.output, "line 300");
}

TEST(PickGeometry, ConsoleCentreIsStillClampedToTheWorkArea) {
    // The console starts minimised, far outside the work area; its centre
    // pulls the window beyond the left and top edges, where the clamps stop it.
    Pick pick;
    pick.dir = scratch_dir();
    write_file(pick.dir + "\\list.txt", lines_text(COLOURS));
    LaunchOptions options;
    options.working_dir = pick.dir;
    options.console_show = SW_SHOWMINNOACTIVE;
    pick.run = start_tool("orlipan.exe", "list.txt Colours /cmdcenter /dx=-3000", options);
    pick.window = wait_for_window(pick.run);
    ASSERT_TRUE(pick.window);
    pick.list = child_by_class(pick.window, "SysListView32");
    RECT work = work_area();
    RECT outer = window_rect(pick.window);
    EXPECT_EQ(outer.left, work.left);
    EXPECT_GE(outer.top, work.top);
    EXPECT_LE(outer.top, work.bottom - 50);
    press_in(pick, VK_ESCAPE);
    finish(pick);
}

// ---- Wide lines -------------------------------------------------------------

TEST(PickWideLines, WideLineWidensTheWindowToItsFitUpToTheWorkAreaLimit) {
    std::string wide(40, 'W');
    std::vector<std::string> widest_lines = {"short", std::string(300, 'W')};
    GeometryInput widest_input =
        measured_geometry_input(2, PICK_DEFAULT_ROW_HEIGHT, column_of(widest_lines));
    PickGeometry widest_plan = compute_pick_geometry(widest_input);
    // The cut applies: a still wider line would give the same window.
    widest_input.column_width *= 2;
    ASSERT_EQ(compute_pick_geometry(widest_input).inner_width, widest_plan.inner_width);
    int expected = compute_pick_geometry(
                       measured_geometry_input(3, PICK_DEFAULT_ROW_HEIGHT, column_of({wide})))
                       .inner_width;
    ASSERT_LT(expected, widest_plan.inner_width);
    Pick pick = start_pick(lines_text({"short", wide, "also short"}), "Wide");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(inner_width(pick.window), expected);
    // The whole line fits in its column.
    RECT row = remote_item_rect(pick.run.process, pick.list, 1);
    EXPECT_GE(row.right - row.left, twin_fit({wide}).line);
    press_in(pick, VK_ESCAPE);
    finish(pick);

    Pick widest = start_pick(lines_text(widest_lines), "Widest");
    ASSERT_TRUE(widest.window);
    EXPECT_EQ(inner_width(widest.window), widest_plan.inner_width);
    press_in(widest, VK_ESCAPE);
    finish(widest);
}
