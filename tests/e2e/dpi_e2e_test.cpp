// Both tools on a display of whatever density it has: their manifests, their
// DPI awareness, the message box's parts and texts, the pick window's margins,
// rows and clamps, and the move to a display of another density. The numbers
// are checked against the 96-DPI layout scaled as MulDiv(value, dpi, 96) does.
// build.sh runs this suite at 96, 120, 144 and 192 DPI; ORLIPAN_EXPECT_DPI,
// when set, names the density the display must have.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/box_driver.h"
#include "tests/e2e/dpi_probe.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/pick_measure.h"
#include "toolkit/dpi_scale.h"
#include "vemo/box_layout.h"

namespace {

const int WINDOW_TIMEOUT_MS = 15000;
const int PICK_FONT_SIZE = PICK_E2E_FONT_SIZE;

const bool DPI_AWARE = become_dpi_aware();

RECT inner_rect(HWND hwnd) {
    RECT inner = {};
    GetClientRect(hwnd, &inner);
    return inner;
}

// Kept until the end of the test: a failed check must not leave a tool open.
struct Running {
    ToolRun run;
    HWND window = nullptr;
    ~Running() { kill_tool(run); }
};

void start(Running& tool, const std::string& exe, const std::string& args,
           const std::string& dir = "") {
    LaunchOptions options;
    options.working_dir = dir;
    tool.run = start_tool(exe, args, options);
    if (tool.run.process)
        tool.window = wait_for_window(tool.run, WINDOW_TIMEOUT_MS);
}

// ---- The message box --------------------------------------------------------

// A caption as drawn: "&x" underlines x, "&&" shows "&".
std::string shown_caption(const std::string& caption) {
    std::string shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

BoxLayout expected_box(BoxSettings& s, int dpi) {
    return measured_box_layout(s, dpi);
}

// The label, the buttons and the inner size where the layout at `dpi` puts
// them, and every text inside its control.
void expect_box_at(HWND box, const std::vector<std::string>& arguments, int dpi) {
    BoxSettings s = read_box_settings(arguments);
    BoxLayout l = expected_box(s, dpi);
    RECT inner = inner_rect(box);
    EXPECT_EQ(inner.right, s.window_width);
    EXPECT_EQ(inner.bottom, l.window_height);
    HWND label_control = child_by_class(box, "Static");
    RECT label = rect_in_client(box, label_control);
    EXPECT_EQ(label.left, l.margin);
    EXPECT_EQ(label.top, l.margin);
    EXPECT_EQ(label.right - label.left, l.label_width);
    EXPECT_EQ(label.bottom - label.top, l.text_height);

    Measure measure(s.font_name, s.font_size, dpi);
    // The label draws its text wrapped at its width; all of it must fit.
    std::string text = window_caption(label_control);
    RECT needed = {0, 0, l.label_width, 0};
    DrawTextA(measure.context, text.c_str(), (int)text.size(), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | (s.center_text ? DT_CENTER : DT_LEFT));
    EXPECT_LE(needed.right - needed.left, l.label_width) << text;
    EXPECT_LE(needed.bottom - needed.top, l.text_height) << text;

    // The push button's frame and focus rectangle take about 4 pixels a side.
    const int inset = scaled(4, dpi);
    for (int i = 1; i <= l.button_count; ++i) {
        SCOPED_TRACE(i);
        HWND control = button(box, i);
        RECT b = rect_in_client(box, control);
        EXPECT_EQ(b.left, l.first_button_x + (i - 1) * (s.button_width + l.button_gap));
        EXPECT_EQ(b.top, l.button_y);
        EXPECT_EQ(b.right - b.left, s.button_width);
        EXPECT_EQ(b.bottom - b.top, l.button_height);
        std::string caption = shown_caption(window_caption(control));
        SIZE size = measure.extent(caption);
        EXPECT_LE(size.cx + 2 * inset, s.button_width) << caption;
        EXPECT_LE(size.cy + 2 * inset, l.button_height) << caption;
    }
}

// The parts of the box are the 96-DPI parts scaled; a sum of n rounded parts
// may differ from the scaled 96-DPI sum by up to n / 2 pixels.
void expect_scaled_parts(HWND box, const std::vector<std::string>& arguments, int dpi) {
    BoxSettings s96 = read_box_settings(arguments);
    BoxLayout l96 = plan_box_layout(s96);
    RECT b1 = rect_in_client(box, button(box, 1));
    EXPECT_EQ(b1.right - b1.left, scaled(s96.button_width, dpi));
    EXPECT_EQ(b1.bottom - b1.top, scaled(l96.button_height, dpi));
    RECT label = rect_in_client(box, child_by_class(box, "Static"));
    EXPECT_EQ(label.left, scaled(l96.margin, dpi));
    if (l96.button_count > 1) {
        RECT b2 = rect_in_client(box, button(box, 2));
        EXPECT_EQ(b2.left - b1.right, scaled(l96.button_gap, dpi));
    }
    int parts = 2 * l96.button_count + 2;
    EXPECT_LE(std::abs(inner_rect(box).right - scaled(s96.window_width, dpi)), (parts + 1) / 2);
}

struct BoxCase {
    const char* name;
    std::vector<std::string> arguments;
};

const std::vector<BoxCase> BOX_CASES = {
    {"the manual's example",
     {"Deploy", "Copy the files now?^They will replace the old ones.", "&Yes;&No;Cancel ($)",
      "/TM=30", "/DB=2"}},
    {"ten buttons",
     {"Ten", "Which one? Every button is as wide as the narrowest option allows.",
      "One;Two;Three;Four;Five;Six;Seven;Eight;Nine;Ten", "/BW=50"}},
    {"a countdown with pixel options",
     {"Wait", "The job starts by itself^when the count ends.", "Start now ($);Cancel", "/TM=300",
      "/BW=120", "/WW=400", "/DX=40", "/DY=-30", "/AL"}},
};

// ---- The pick window --------------------------------------------------------

int row_height(const Running& pick, HWND list) {
    RECT row = remote_item_rect(pick.run.process, list, 0);
    return row.bottom - row.top;
}

struct PickRun : Running {
    HWND list = nullptr;
};

void start_pick_run(PickRun& pick, const std::vector<std::string>& lines, const std::string& args) {
    std::string dir = scratch_dir();
    write_file(dir + "\\list.txt", lines_text(lines));
    start(pick, "orlipan.exe", "list.txt " + args, dir);
    if (pick.window)
        pick.list = child_by_class(pick.window, "SysListView32");
}

void expect_list_margin(const PickRun& pick, int margin) {
    expect_list_margin(pick.window, pick.list, margin);
}

// Rows at least as tall as the font's characters at `dpi`.
void expect_rows_hold_the_font(const PickRun& pick, int dpi) {
    Measure measure("Verdana", PICK_FONT_SIZE, dpi);
    EXPECT_GE(row_height(pick, pick.list), measure.height());
}

const std::vector<std::string> COLOURS = {"Red", "Orange", "Yellow", "Green", "Blue", "Violet"};

class Dpi : public ::testing::Test {
protected:
    int dpi = display_dpi();
    void SetUp() override {
        ASSERT_TRUE(DPI_AWARE);
        const char* expected = std::getenv("ORLIPAN_EXPECT_DPI");
        if (expected && *expected) {
            ASSERT_EQ(dpi, std::atoi(expected)) << "the display does not have the wanted DPI";
        }
        RecordProperty("dpi", dpi);
    }
};

}  // namespace

TEST_F(Dpi, ManifestsDeclarePerMonitorAwarenessAndOnlyVemoAsksForCommonControls6) {
    for (const char* exe : {"orlipan.exe", "vemo.exe"}) {
        SCOPED_TRACE(exe);
        std::string manifest = manifest_of(exe);
        ASSERT_FALSE(manifest.empty());
        std::string awareness = element_text(manifest, "dpiAwareness");
        EXPECT_EQ(awareness.find("PerMonitorV2"), 0u) << awareness;
        EXPECT_EQ(element_text(manifest, "dpiAware"), "true/pm");
        bool common_controls =
            manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"") !=
            std::string::npos;
        EXPECT_EQ(common_controls, std::string(exe) == "vemo.exe");
    }
}

TEST_F(Dpi, BoxPartsAreScaledAndEveryTextFitsItsControl) {
    for (const BoxCase& box_case : BOX_CASES) {
        SCOPED_TRACE(box_case.name);
        Running box;
        start(box, "vemo.exe", quoted_line(box_case.arguments));
        ASSERT_TRUE(box.window != nullptr);
        expect_per_monitor_aware(box.window);
        expect_box_at(box.window, box_case.arguments, dpi);
        expect_scaled_parts(box.window, box_case.arguments, dpi);
    }
}

TEST_F(Dpi, BoxOffsetsAreIn96DpiPixels) {
    const std::vector<std::string>& arguments = BOX_CASES[2].arguments;
    Running box;
    start(box, "vemo.exe", quoted_line(arguments));
    ASSERT_TRUE(box.window != nullptr);
    BoxSettings s = read_box_settings(arguments);
    BoxLayout l = expected_box(s, dpi);
    // Centred on the console, moved by half the growth and by the offsets.
    RECT outer = window_rect(box.window);
    POINT origin = centred_box_origin(box.window, l.growth, false);
    EXPECT_EQ(outer.left, origin.x + scaled(40, dpi));
    EXPECT_EQ(outer.top, origin.y - l.growth / 2 + scaled(-30, dpi));
}

TEST_F(Dpi, BoxMovedToAnotherDensityIsLaidOutAgainForIt) {
    const int other = dpi >= 144 ? 96 : 192;
    const std::vector<std::string>& arguments = BOX_CASES[0].arguments;
    Running box;
    start(box, "vemo.exe", quoted_line(arguments));
    ASSERT_TRUE(box.window != nullptr);
    BoxSettings s = read_box_settings(arguments);
    expected_box(s, other);
    // No suggested rectangle: the box stays where it is and only relays out.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(box.window, WM_DPICHANGED, MAKEWPARAM(other, other), 0, SMTO_BLOCK, 5000,
                        &result);
    // The box lays itself out in its own loop; the window's size comes last.
    EXPECT_TRUE(wait_until([&] { return inner_rect(box.window).right == s.window_width; }));
    expect_box_at(box.window, arguments, other);
}

TEST_F(Dpi, PickWindowRowsHoldTheFontAndTheHeightFormulaUsesScaledConstants) {
    PickRun pick;
    start_pick_run(pick, COLOURS, "Colours /dx=40 /dy=-30");
    ASSERT_TRUE(pick.window != nullptr);
    expect_per_monitor_aware(pick.window);
    expect_rows_hold_the_font(pick, dpi);
    expect_list_margin(pick, 0);
    RECT inner = inner_rect(pick.window);
    // The fitted column is not known at this density: the height and the
    // top edge do not depend on it.
    GeometryInput in =
        measured_geometry_input((int)COLOURS.size(), row_height(pick, pick.list), 0, dpi);
    in.offset_x = 40;
    in.offset_y = -30;
    PickGeometry plan = compute_pick_geometry(in);
    EXPECT_EQ(inner.bottom, plan.inner_height);
    Measure measure("Verdana", PICK_FONT_SIZE, dpi);
    for (const std::string& line : COLOURS)
        EXPECT_GE(inner.right, measure.extent(line).cx + scaled(PICK_FONT_SIZE, dpi)) << line;
    RECT work = work_area();
    RECT outer = window_rect(pick.window);
    EXPECT_EQ(outer.left, (work.left + work.right) / 2 + scaled(40, dpi) - inner.right / 2);
    EXPECT_EQ(outer.top, plan.y);
}

TEST_F(Dpi, MenuMarginIsScaledAndFollowsAMoveToAnotherDensity) {
    const std::vector<std::string> menu = {"Edit the notes",
                                           "Show the calendar",
                                           "",
                                           "Back up the documents",
                                           "Check the disk",
                                           "",
                                           "Quit"};
    PickRun pick;
    start_pick_run(pick, menu, "Menu /menu");
    ASSERT_TRUE(pick.window != nullptr);
    const int margin = scaled(20, dpi);
    expect_list_margin(pick, margin);
    expect_rows_hold_the_font(pick, dpi);
    RECT inner = inner_rect(pick.window);
    GeometryInput in =
        measured_geometry_input((int)menu.size(), row_height(pick, pick.list), 0, dpi);
    in.menu = true;
    EXPECT_EQ(inner.bottom, compute_pick_geometry(in).inner_height);
    // Every line is shown whole: the list is wider than the widest line.
    Measure measure("Verdana", PICK_FONT_SIZE, dpi);
    for (const std::string& line : menu)
        EXPECT_GT(inner.right - 2 * margin, measure.extent(line).cx) << line;

    const int other = dpi >= 144 ? 96 : 192;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(pick.window, WM_DPICHANGED, MAKEWPARAM(other, other), 0, SMTO_BLOCK, 5000,
                        &result);
    EXPECT_TRUE(wait_until(
        [&] { return rect_in_client(pick.window, pick.list).left == scaled(20, other); }));
    expect_list_margin(pick, scaled(20, other));
    EXPECT_TRUE(wait_until([&] {
        Measure measure("Verdana", PICK_FONT_SIZE, other);
        return row_height(pick, pick.list) >= measure.height();
    }));
}

// The scroll-bar room is left to the unit tests: the fitted column width it is
// added to cannot be read from outside the tool.
TEST_F(Dpi, EdgeClampsAndMinimumHeightAreScaled) {
    PickRun clamped;
    start_pick_run(clamped, COLOURS, "Far /dx=5000 /dy=5000");
    ASSERT_TRUE(clamped.window != nullptr);
    // Offsets this large leave the window at the edges whatever its size.
    GeometryInput distant =
        measured_geometry_input((int)COLOURS.size(), PICK_DEFAULT_ROW_HEIGHT, 0, dpi);
    distant.offset_x = 5000;
    distant.offset_y = 5000;
    PickGeometry plan = compute_pick_geometry(distant);
    EXPECT_EQ(window_rect(clamped.window).left, plan.x);
    EXPECT_EQ(window_rect(clamped.window).top, plan.y);

    PickRun empty;
    start_pick_run(empty, {}, "Empty");
    ASSERT_TRUE(empty.window != nullptr);
    EXPECT_EQ(inner_rect(empty.window).bottom,
              compute_pick_geometry(measured_geometry_input(0, PICK_DEFAULT_ROW_HEIGHT, 0, dpi))
                  .inner_height);
}
