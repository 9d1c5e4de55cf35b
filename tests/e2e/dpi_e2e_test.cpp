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

#include "tests/e2e/driver.h"
#include "toolkit/dpi_scale.h"
#include "vemo/box_layout.h"

namespace {

const int WINDOW_TIMEOUT_MS = 15000;
const int PICK_FONT_SIZE = 9;

// This process reads the tools' windows in the display's own pixels: without
// declaring itself aware, Windows would hand it coordinates scaled to 96 DPI.
bool become_dpi_aware() {
    HMODULE user = GetModuleHandleA("user32.dll");
    using SetContext = BOOL(WINAPI*)(HANDLE);
    auto set_context = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
    // Per monitor version 2, then version 1 (-4 and -3).
    if (set_context &&
        (set_context(reinterpret_cast<HANDLE>(-4)) || set_context(reinterpret_cast<HANDLE>(-3)))) {
        return true;
    }
    return SetProcessDPIAware() != 0;
}
const bool DPI_AWARE = become_dpi_aware();

int display_dpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int scaled(int pixels, int dpi) {
    return MulDiv(pixels, dpi, 96);
}

HFONT font_at(const std::string& face, int points, int dpi) {
    return CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0, face.c_str());
}

// Measures with `font` in a screen context; the font's height is in pixels,
// so the context's own density plays no part.
struct Measure {
    HDC context;
    HFONT font;
    HGDIOBJ previous;
    Measure(const std::string& face, int points, int dpi)
        : context(GetDC(nullptr)), font(font_at(face, points, dpi)) {
        previous = SelectObject(context, font);
    }
    ~Measure() {
        SelectObject(context, previous);
        ReleaseDC(nullptr, context);
        DeleteObject(font);
    }
    SIZE extent(const std::string& text) const {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(context, text.c_str(), (int)text.size(), &size);
        return size;
    }
    int height() const {
        TEXTMETRICA metrics = {};
        GetTextMetricsA(context, &metrics);
        return metrics.tmHeight;
    }
};

// The awareness the window was created with, where the system can tell;
// -1 on systems before Windows 10 version 1607.
int window_awareness(HWND hwnd) {
    HMODULE user = GetModuleHandleA("user32.dll");
    using GetContext = HANDLE(WINAPI*)(HWND);
    using Awareness = int(WINAPI*)(HANDLE);
    auto get_context = reinterpret_cast<GetContext>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetWindowDpiAwarenessContext")));
    auto awareness = reinterpret_cast<Awareness>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    if (!get_context || !awareness)
        return -1;
    return awareness(get_context(hwnd));
}

// Wine 8 makes every process per-monitor aware by default, manifest or not,
// so there this check cannot tell the manifest's work from Wine's.
void expect_per_monitor_aware(HWND hwnd) {
    const int PER_MONITOR_AWARE = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE
    int awareness = window_awareness(hwnd);
    if (awareness != -1) {
        EXPECT_EQ(awareness, PER_MONITOR_AWARE);
    }
}

std::string manifest_of(const std::string& exe) {
    std::string path = test_dir() + "\\" + exe;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return "";
    std::string text;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes)
        text.assign(bytes, SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

// The text between <name ...> and </name>; empty when the element is absent.
std::string element_text(const std::string& xml, const std::string& name) {
    size_t open = xml.find("<" + name + " ");
    size_t start = open == std::string::npos ? open : xml.find('>', open);
    size_t end = start == std::string::npos ? start : xml.find("</" + name + ">", start);
    return end == std::string::npos ? "" : xml.substr(start + 1, end - start - 1);
}

RECT rect_in_client(HWND window, HWND control) {
    RECT r = window_rect(control);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

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

std::string quoted_line(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments)
        line += (line.empty() ? "\"" : " \"") + argument + "\"";
    return line;
}

HWND button(HWND box, int id) {
    for (HWND child : children_by_class(box, "Button")) {
        if (GetDlgCtrlID(child) == id)
            return child;
    }
    return nullptr;
}

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
    BoxLayout l = plan_box_layout(s, dpi);
    Measure measure(s.font_name, s.font_size, dpi);
    std::vector<TextExtent> lines;
    for (const std::string& line : split_fields(s.text, '\r')) {
        SIZE size = measure.extent(line);
        lines.push_back({size.cx, size.cy});
    }
    fit_box_text(l, s, lines);
    return l;
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

struct RemoteRect {
    HANDLE process;
    void* address;
    RemoteRect(HANDLE p) : process(p) {
        address =
            VirtualAllocEx(p, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteRect() {
        if (address)
            VirtualFreeEx(process, address, 0, MEM_RELEASE);
    }
};

int row_height(const Running& pick, HWND list) {
    RECT rect = {LVIR_BOUNDS, 0, 0, 0};
    RemoteRect block(pick.run.process);
    WriteProcessMemory(pick.run.process, block.address, &rect, sizeof rect, nullptr);
    if (!SendMessageA(list, LVM_GETITEMRECT, 0, (LPARAM)block.address))
        return 0;
    ReadProcessMemory(pick.run.process, block.address, &rect, sizeof rect, nullptr);
    return rect.bottom - rect.top;
}

RECT work_area() {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

std::string lines_text(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

struct Pick : Running {
    HWND list = nullptr;
};

void start_pick(Pick& pick, const std::vector<std::string>& lines, const std::string& args) {
    std::string dir = scratch_dir();
    write_file(dir + "\\list.txt", lines_text(lines));
    start(pick, "orlipan.exe", "list.txt " + args, dir);
    if (pick.window)
        pick.list = child_by_class(pick.window, "SysListView32");
}

void expect_list_margin(const Pick& pick, int margin) {
    RECT inner = inner_rect(pick.window);
    RECT list = rect_in_client(pick.window, pick.list);
    EXPECT_EQ(list.left, margin);
    EXPECT_EQ(list.top, margin);
    EXPECT_EQ(list.right, inner.right - margin);
    EXPECT_EQ(list.bottom, inner.bottom - margin);
}

// Rows at least as tall as the font's characters at `dpi`.
void expect_rows_hold_the_font(const Pick& pick, int dpi) {
    Measure measure("Verdana", PICK_FONT_SIZE, dpi);
    EXPECT_GE(row_height(pick, pick.list), measure.height());
}

const std::vector<std::string> COLOURS = {"Red", "Orange", "Yellow", "Green", "Blue", "Violet"};

// Inner height of a list of `count` rows that fits the work area.
int expected_list_height(int count, int row, int dpi) {
    int height = (count * row + scaled(PICK_FONT_SIZE / 2, dpi)) * 102 / 100;
    return std::max(height, scaled(PICK_FONT_SIZE * 6, dpi));
}

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
    RECT owner = window_rect(GetWindow(box.window, GW_OWNER));
    int width = outer.right - outer.left;
    int provisional_height = outer.bottom - outer.top - l.growth;
    int x = std::max<int>(0, owner.left + (owner.right - owner.left - width) / 2);
    int y = std::max<int>(0, owner.top + (owner.bottom - owner.top - provisional_height) / 2);
    EXPECT_EQ(outer.left, x + scaled(40, dpi));
    EXPECT_EQ(outer.top, y - l.growth / 2 + scaled(-30, dpi));
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
    Pick pick;
    start_pick(pick, COLOURS, "Colours /dx=40 /dy=-30");
    ASSERT_TRUE(pick.window != nullptr);
    expect_per_monitor_aware(pick.window);
    expect_rows_hold_the_font(pick, dpi);
    expect_list_margin(pick, 0);
    RECT inner = inner_rect(pick.window);
    int row = row_height(pick, pick.list);
    EXPECT_EQ(inner.bottom, expected_list_height((int)COLOURS.size(), row, dpi));
    Measure measure("Verdana", PICK_FONT_SIZE, dpi);
    for (const std::string& line : COLOURS)
        EXPECT_GE(inner.right, measure.extent(line).cx + scaled(PICK_FONT_SIZE, dpi)) << line;
    RECT work = work_area();
    RECT outer = window_rect(pick.window);
    EXPECT_EQ(outer.left, (work.left + work.right) / 2 + scaled(40, dpi) - inner.right / 2);
    EXPECT_EQ(outer.top, (work.top + work.bottom) / 2 + scaled(-30, dpi) - inner.bottom / 2);
}

TEST_F(Dpi, MenuMarginIsScaledAndFollowsAMoveToAnotherDensity) {
    const std::vector<std::string> menu = {"Edit the notes",
                                           "Show the calendar",
                                           "",
                                           "Back up the documents",
                                           "Check the disk",
                                           "",
                                           "Quit"};
    Pick pick;
    start_pick(pick, menu, "Menu /menu");
    ASSERT_TRUE(pick.window != nullptr);
    const int margin = scaled(20, dpi);
    expect_list_margin(pick, margin);
    expect_rows_hold_the_font(pick, dpi);
    RECT inner = inner_rect(pick.window);
    int row = row_height(pick, pick.list);
    EXPECT_EQ(inner.bottom, expected_list_height((int)menu.size(), row, dpi) + 2 * margin);
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
    Pick clamped;
    start_pick(clamped, COLOURS, "Far /dx=5000 /dy=5000");
    ASSERT_TRUE(clamped.window != nullptr);
    RECT work = work_area();
    EXPECT_EQ(window_rect(clamped.window).left, work.right - scaled(50, dpi));
    EXPECT_EQ(window_rect(clamped.window).top, work.bottom - scaled(50, dpi));

    Pick empty;
    start_pick(empty, {}, "Empty");
    ASSERT_TRUE(empty.window != nullptr);
    EXPECT_EQ(inner_rect(empty.window).bottom, scaled(PICK_FONT_SIZE * 6, dpi));
}
