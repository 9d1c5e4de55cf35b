// The list tool driven from outside with real keys and clicks: accepting and
// cancelling, the filled-in template, menu mode, the window's size and place,
// code-page conversion, reports and bad input.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

#include <commctrl.h>

#include <cstdio>
#include <memory>

namespace {

const int FONT_SIZE = 9;

// ---- The fitted column width --------------------------------------------
// The column width the tool measures exists only for a moment (its list is
// re-fitted to the window right after), so it is measured again on a twin:
// a list view in this process with the tool's class, styles, font and lines,
// at the tool's creation size of 200 by 200.

using InitControls = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

HFONT make_list_font(const char* face, int points) {
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    DeleteDC(screen);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
}

int twin_column_width(const std::vector<std::string>& lines) {
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    InitControls init = (InitControls)(void*)GetProcAddress(comctl, "InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    if (init)
        init(&icc);
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "SysListView32", "", 0x5001404D, 0, 0, 200, 200,
                                parent, nullptr, nullptr, nullptr);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x00010020);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.cx = 200;
    column.pszText = (char*)"";
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, (LPARAM)&column);
    HFONT font = make_list_font("Verdana", FONT_SIZE);
    SendMessageA(list, WM_SETFONT, (WPARAM)font, TRUE);
    for (size_t i = 0; i < lines.size(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = (int)i;
        item.pszText = (char*)lines[i].c_str();
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    }
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
    int width = (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0);
    DestroyWindow(parent);
    DeleteObject(font);
    return width;
}

const std::vector<std::string> COLOURS = {"red", "green", "a b", "   ", "", "blue"};

}  // namespace

// ---- Accepting and cancelling -----------------------------------------------

TEST(PickAccept, EnterRightAfterStartAcceptsTheFirstLine) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours \"set choice=$ITEM\"");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(window_caption(pick.window), "Colours");
    EXPECT_EQ(selected_line(pick.list), 0);
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    ASSERT_TRUE(end.ended);
    EXPECT_EQ(end.exit_code, 1u);
    EXPECT_EQ(end.output, "set choice=red");
}

TEST(PickAccept, SingleClickOnlySelectsAndDoubleClickAccepts) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours \"echo ''$item''\"");
    ASSERT_TRUE(pick.window);
    click_line(pick, 2);
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == 2; }));
    EXPECT_TRUE(still_open(pick));
    click_line(pick, 2, true);
    Ending end = finish(pick);
    ASSERT_TRUE(end.ended);
    EXPECT_EQ(end.exit_code, 3u);
    EXPECT_EQ(end.output, "echo \"a b\"");
}

TEST(PickAccept, EmptyLineCanBeAcceptedInNormalMode) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours \"set x=$item\"");
    ASSERT_TRUE(pick.window);
    click_line(pick, 4, true);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 5u);
    EXPECT_EQ(end.output, "set x=");
}

TEST(PickMenu, BlankLinesAreSeparatorsAndOneClickAccepts) {
    Pick pick = start_pick(lines_text(COLOURS), "Menu \"echo $item\" /menu /quote");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(selected_line(pick.list), -1);
    press_in(pick, VK_RETURN);
    // Bounded wait for a reaction that must not come: the window stays.
    EXPECT_FALSE(wait_until([&] { return !still_open(pick); }, 500));
    for (int blank : {3, 4}) {
        click_line(pick, blank);
        EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == -1; }));
        EXPECT_TRUE(still_open(pick)) << "line " << blank;
    }
    click_line(pick, 2);
    Ending end = finish(pick);
    ASSERT_TRUE(end.ended);
    EXPECT_EQ(end.exit_code, 3u);
    EXPECT_EQ(end.output, "echo \"a b\"");
}

TEST(PickCancel, EscapeAltF4AndCloseBoxGiveZeroAndWriteNothing) {
    // No close box is drawn under Wine without a window manager, so the
    // close box is exercised by the command it sends (SC_CLOSE).
    const char* ways[] = {"escape", "alt+f4", "close box"};
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(ways[way]);
        Pick pick = start_pick(lines_text(COLOURS), "Colours \"set x=$item\"");
        ASSERT_TRUE(pick.window);
        if (way == 0)
            press_in(pick, VK_ESCAPE);
        if (way == 1)
            press_in(pick, VK_F4, true);
        if (way == 2)
            PostMessageA(pick.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        Ending end = finish(pick);
        ASSERT_TRUE(end.ended);
        EXPECT_EQ(end.exit_code, 0u);
        EXPECT_EQ(end.output, "");
    }
}

TEST(PickAccept, WithoutOutputStringOnlyTheExitCodeAnswers) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours");
    ASSERT_TRUE(pick.window);
    click_line(pick, 1, true);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 2u);
    EXPECT_EQ(end.output, "");
}

TEST(PickAccept, ListPathWithAnEnvironmentVariableIsExpanded) {
    std::string dir = scratch_dir();
    CreateDirectoryA((dir + "\\sub").c_str(), nullptr);
    write_file(dir + "\\sub\\list.txt", lines_text(COLOURS));
    // The tool inherits this process's environment.
    SetEnvironmentVariableA("ORLIPAN_E2E_LIST_DIR", (dir + "\\sub").c_str());
    Pick pick;
    pick.run = start_tool("orlipan.exe", "%ORLIPAN_E2E_LIST_DIR%\\list.txt T \"$item\"");
    pick.guard = end_when_dropped(pick.run.process);
    pick.window = wait_for_window(pick.run);
    SetEnvironmentVariableA("ORLIPAN_E2E_LIST_DIR", nullptr);
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(window_caption(pick.window), "T");  // not a report box
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 1u);
    EXPECT_EQ(end.output, "red");
}

// ---- Size and place ---------------------------------------------------------

namespace {

struct Placement {
    int x, y, width, height;
};

// Outer position and inner size from the measured row height and column.
Placement expected_placement(int count, int row, int column, bool menu, int dx, RECT centre_of) {
    RECT work = work_area();
    int h = (count * row + FONT_SIZE / 2) * 102 / 100;
    if (h < FONT_SIZE * 6)
        h = FONT_SIZE * 6;
    bool cut = h > (work.bottom - work.top) * 8 / 10;
    if (cut)
        h = (work.bottom - work.top) * 8 / 10;
    int w = (column + FONT_SIZE) * 103 / 100 + (cut ? 20 : 0);
    if (w > (work.right - work.left) * 8 / 10)
        w = (work.right - work.left) * 8 / 10;
    if (menu) {
        w += 40;
        h += 40;
    }
    int x = (centre_of.left + centre_of.right) / 2 + dx - w / 2;
    int y = (centre_of.top + centre_of.bottom) / 2 - h / 2;
    if (x < work.left)
        x = work.left;
    if (x > work.right - 50)
        x = work.right - 50;
    if (y < work.top)
        y = work.top;
    if (y > work.bottom - 50)
        y = work.bottom - 50;
    return Placement{x, y, w, h};
}

void expect_placement(Pick& pick, const Placement& expected) {
    RECT outer = window_rect(pick.window);
    RECT inner = {};
    GetClientRect(pick.window, &inner);
    EXPECT_EQ(outer.left, expected.x);
    EXPECT_EQ(outer.top, expected.y);
    EXPECT_EQ(inner.right, expected.width);
    EXPECT_EQ(inner.bottom, expected.height);
}

// The list's place inside the window, in the window's client coordinates.
RECT list_in_window(Pick& pick) {
    RECT outer = window_rect(pick.list);
    POINT a = {outer.left, outer.top};
    POINT b = {outer.right, outer.bottom};
    ScreenToClient(pick.window, &a);
    ScreenToClient(pick.window, &b);
    return RECT{a.x, a.y, b.x, b.y};
}

void expect_list_fills(Pick& pick, int margin) {
    RECT inner = {};
    GetClientRect(pick.window, &inner);
    RECT list = list_in_window(pick);
    EXPECT_EQ(list.left, margin);
    EXPECT_EQ(list.top, margin);
    EXPECT_EQ(list.right, inner.right - margin);
    EXPECT_EQ(list.bottom, inner.bottom - margin);
}

int row_height(Pick& pick) {
    RECT row = remote_item_rect(pick.run.process, pick.list, 0);
    return row.bottom > row.top ? row.bottom - row.top : 18;
}

// Resizes the window from outside, as a drag on its border ends up doing.
void resize_by_hand(Pick& pick, int width, int height) {
    SetWindowPos(pick.window, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT inner = {};
    wait_until([&] {
        GetClientRect(pick.window, &inner);
        RECT list = list_in_window(pick);
        return list.right > 0 && list.bottom == inner.bottom - (list.top);
    });
}

}  // namespace

TEST(PickGeometry, NormalWindowFitsItsLinesOnTheWorkAreaCentreAndFollowsResizing) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours");
    ASSERT_TRUE(pick.window);
    int column = twin_column_width(COLOURS);
    expect_placement(pick, expected_placement((int)COLOURS.size(), row_height(pick), column, false,
                                              0, work_area()));
    expect_list_fills(pick, 0);
    resize_by_hand(pick, 420, 333);
    expect_list_fills(pick, 0);
    press_in(pick, VK_ESCAPE);
    EXPECT_EQ(finish(pick).exit_code, 0u);
}

TEST(PickGeometry, MenuWindowKeepsATwentyPixelFrame) {
    Pick pick = start_pick(lines_text(COLOURS), "Menu /menu");
    ASSERT_TRUE(pick.window);
    int column = twin_column_width(COLOURS);
    expect_placement(pick, expected_placement((int)COLOURS.size(), row_height(pick), column, true,
                                              0, work_area()));
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
    EXPECT_EQ(inner.bottom, FONT_SIZE * 6);
    EXPECT_EQ(selected_line(pick.list), -1);
    press_in(pick, VK_RETURN);  // nothing to accept
    EXPECT_FALSE(wait_until([&] { return !still_open(pick); }, 500));
    press_in(pick, VK_ESCAPE);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 0u);
    EXPECT_EQ(end.output, "");
}

TEST(PickGeometry, LargeOffsetsStopAtTheWorkAreaEdges) {
    for (int dx : {5000, -5000}) {
        SCOPED_TRACE(dx);
        Pick pick = start_pick(lines_text(COLOURS), "Colours /dx=" + std::to_string(dx));
        ASSERT_TRUE(pick.window);
        RECT work = work_area();
        EXPECT_EQ(window_rect(pick.window).left, dx > 0 ? work.right - 50 : work.left);
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
    RECT work = work_area();
    int column = twin_column_width(lines);
    Placement expected = expected_placement(300, row_height(pick), column, false, 0, work);
    ASSERT_EQ(expected.height, (work.bottom - work.top) * 8 / 10);  // the cut applies
    expect_placement(pick, expected);
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

// ---- Code pages -------------------------------------------------------------

namespace {

std::string convert(const std::string& bytes, UINT from, UINT to) {
    std::wstring wide(bytes.size(), L'\0');
    int n =
        MultiByteToWideChar(from, 0, bytes.data(), (int)bytes.size(), &wide[0], (int)wide.size());
    std::string out(n * 4, '\0');
    int m = WideCharToMultiByte(to, 0, wide.data(), n, &out[0], (int)out.size(), nullptr, nullptr);
    out.resize(m);
    return out;
}

}  // namespace

TEST(PickCodePages, OemListIsShownAsAnsiAndOemOutWritesOemAgain) {
    // "café" and "naïve" in the OEM code page of this system: cp 437 and cp 850
    // both hold é at 0x82 and ï at 0x8B, which cp 1252 shows differently.
    UINT oem = GetOEMCP();
    UINT ansi = GetACP();
    ASSERT_NE(oem, ansi);
    std::string oem_line = "caf\x82 na\x8Bve";
    std::string ansi_line = convert(oem_line, oem, ansi);
    ASSERT_NE(ansi_line, oem_line);

    Pick shown = start_pick(oem_line + "\r\n", "OEM \"$item\" /oemlist");
    ASSERT_TRUE(shown.window);
    EXPECT_EQ(remote_item_text(shown.run.process, shown.list, 0), ansi_line);
    press_in(shown, VK_RETURN);
    EXPECT_EQ(finish(shown).output, ansi_line);

    Pick round = start_pick(oem_line + "\r\n", "OEM \"$item\" /oemlist /oemout");
    ASSERT_TRUE(round.window);
    press_in(round, VK_RETURN);
    EXPECT_EQ(finish(round).output, oem_line);

    Pick raw = start_pick(oem_line + "\r\n", "Raw \"$item\"");
    ASSERT_TRUE(raw.window);
    EXPECT_EQ(remote_item_text(raw.run.process, raw.list, 0), oem_line);
    press_in(raw, VK_ESCAPE);
    finish(raw);
}

// ---- Reports and bad input --------------------------------------------------

namespace {

struct Report {
    std::string caption;
    std::string text;
    Ending ending;
};

// Runs the tool on `list_arg` (no list written) and reads the report box.
Report run_to_report(const std::string& dir, const std::string& list_arg) {
    Report report;
    LaunchOptions options;
    options.working_dir = dir;
    ToolRun run = start_tool("orlipan.exe", list_arg + " Title \"x=$item\"", options);
    HWND box = wait_for_window(run);
    if (box) {
        report.caption = window_caption(box);
        report.text = message_box_text(box);
        HWND ok = child_by_class(box, "Button");
        if (ok)
            click_window_center(ok);
    }
    report.ending.ended = wait_exit(run, EXIT_TIMEOUT_MS, &report.ending.exit_code);
    report.ending.output = output_bytes(run);
    kill_tool(run);
    return report;
}

}  // namespace

TEST(PickReports, UnopenableListFilesAreReportedByName) {
    std::string dir = scratch_dir();
    CreateDirectoryA((dir + "\\adir").c_str(), nullptr);
    write_file(dir + "\\locked.txt", "red\r\n");
    // Held by this process without read sharing, as an editor saving it would.
    HANDLE lock = CreateFileA((dir + "\\locked.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    struct Case {
        std::string arg, text;
    };
    for (const Case& c :
         {Case{"C:\\no\\such\\dir\\list.txt", "Cannot open list.txt"},
          Case{"locked.txt", "Cannot open locked.txt"}, Case{"adir", "Cannot open adir"}}) {
        SCOPED_TRACE(c.arg);
        Report report = run_to_report(dir, c.arg);
        EXPECT_EQ(report.caption, "Orlipan 2.12");
        EXPECT_EQ(report.text, c.text);
        EXPECT_TRUE(report.ending.ended);
        EXPECT_EQ(report.ending.exit_code, 0u);
        EXPECT_EQ(report.ending.output, "");
    }
    CloseHandle(lock);
}

TEST(PickBadInput, BinaryAndZeroFilesLoadAndAnswer) {
    std::string binary;
    unsigned seed = 12345;
    for (int i = 0; i < 65536; ++i) {
        seed = seed * 1103515245u + 12345u;
        binary.push_back((char)(seed >> 16));
    }
    size_t first_end = binary.find_first_of(std::string("\r\n\0", 3));
    Pick pick = start_pick(binary, "Binary \"[$item]\"");
    ASSERT_TRUE(pick.window);
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 1u);
    EXPECT_EQ(end.output, "[" + binary.substr(0, first_end) + "]");

    Pick zeros = start_pick(std::string(1000, '\0'), "Zeros \"set x=$item\"");
    ASSERT_TRUE(zeros.window);
    EXPECT_EQ(SendMessageA(zeros.list, LVM_GETITEMCOUNT, 0, 0), 1000);
    press_in(zeros, VK_END);
    EXPECT_TRUE(wait_until([&] { return selected_line(zeros.list) == 999; }));
    press_in(zeros, VK_RETURN);
    end = finish(zeros);
    EXPECT_EQ(end.exit_code, 255u);
    EXPECT_EQ(end.output, "set x=");
}

TEST(PickBadInput, TenMegabyteLineComesBackWhole) {
    std::string long_line(10 * 1024 * 1024, 'w');
    Pick pick = start_pick(long_line + "\r\nshort\r\n", "Long \"<$item>\"");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(SendMessageA(pick.list, LVM_GETITEMCOUNT, 0, 0), 2);
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 1u);
    ASSERT_EQ(end.output.size(), long_line.size() + 2);
    EXPECT_EQ(end.output, "<" + long_line + ">");
}

TEST(PickBadInput, LongTemplateOnANearlyFullCommandLine) {
    // A command line holds at most 32767 characters, so this is the longest
    // template a caller can pass.
    std::string block = "0123456789 $item ";
    std::string templ;
    while (templ.size() + block.size() < 29900)
        templ += block;
    Pick pick = start_pick(lines_text({"ok"}), "T \"" + templ + "\"");
    ASSERT_TRUE(pick.window);
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    std::string expected;
    for (size_t i = 0; i < templ.size() / block.size(); ++i)
        expected += "0123456789 ok ";
    EXPECT_EQ(end.exit_code, 1u);
    EXPECT_EQ(end.output, expected);
}

TEST(PickBadInput, ClosedStandardOutputStillGivesTheExitCode) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours \"$item\"", LAUNCH_REDIRECT_PIPE);
    ASSERT_TRUE(pick.window);
    // The reading end goes away before the tool writes.
    CloseHandle(pick.run.pipe_read);
    pick.run.pipe_read = nullptr;
    click_line(pick, 5, true);
    Ending end = finish(pick);
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(end.exit_code, 6u);
}

TEST(PickLoad, HundredThousandLinesLoadAndClose) {
    // A file of many lines; a million lines come through a pipe in the
    // standard-input tests.
    const int count = 100000;
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += "item" + std::to_string(i % 1000) + "\n";
    DWORD start = GetTickCount();
    Pick pick = start_pick(bytes, "Many \"$item\"", LAUNCH_REDIRECT_FILE, 120000);
    ASSERT_TRUE(pick.window);
    // Reported, not judged: the time depends on the machine.
    std::printf("[ info ] %d lines shown after %lu ms\n", count, GetTickCount() - start);
    EXPECT_EQ(SendMessageA(pick.list, LVM_GETITEMCOUNT, 0, 0), count);
    press_in(pick, VK_END);
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == count - 1; }));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick, 120000);
    EXPECT_EQ(end.exit_code, 255u);
    EXPECT_EQ(end.output, "item999");
}

// ---- Batch files ------------------------------------------------------------

TEST(PickBatch, ColourScriptRunsTheWrittenAnswerOrSeesTheCancel) {
    std::string dir = scratch_dir();
    HANDLE batch = start_batch("orlipan_colour.cmd", dir);
    ASSERT_TRUE(batch);
    Pick pick = pick_started_by_batch("Pick a colour");
    ASSERT_TRUE(pick.window);
    press_in(pick, VK_DOWN);
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == 1; }));
    press_in(pick, VK_RETURN);
    EXPECT_EQ(batch_result(batch, dir), "picked 2 colour=green\r\n");
    EXPECT_EQ(read_file(dir + "\\choice.cmd"), "set colour=green");
    CloseHandle(pick.run.process);

    dir = scratch_dir();
    batch = start_batch("orlipan_colour.cmd", dir);
    ASSERT_TRUE(batch);
    pick = pick_started_by_batch("Pick a colour");
    ASSERT_TRUE(pick.window);
    press_in(pick, VK_ESCAPE);
    EXPECT_EQ(batch_result(batch, dir), "cancelled\r\n");
    EXPECT_EQ(read_file(dir + "\\choice.cmd"), "");
    CloseHandle(pick.run.process);
}

TEST(PickBatch, MenuScriptBranchesOnTheExitCodeWithOutputToNul) {
    std::string dir = scratch_dir();
    HANDLE batch = start_batch("orlipan_menu.cmd", dir);
    ASSERT_TRUE(batch);
    Pick pick = pick_started_by_batch("Main menu");
    ASSERT_TRUE(pick.window);
    click_line(pick, 1);  // the separator: nothing happens
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == -1; }));
    click_line(pick, 2);
    EXPECT_EQ(batch_result(batch, dir), "test\r\n");
    CloseHandle(pick.run.process);
}
