// The list tool on lists from standard input and on lists of every size:
// pipes and redirection, a million lines, typing to find a line, and lines
// wider than the window the platform's own fitting would give.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace {

const std::vector<std::string> FRUIT = {"apple", "banana", "blueberry", "cherry", "", "date"};

// Starts `orlipan - ARGS` reading a pipe the test writes into.
Pick start_piped(const std::string& args) {
    LaunchOptions options;
    options.input = INPUT_PIPE;
    options.working_dir = scratch_dir();
    return start_pick_with("- " + args, options);
}

void wait_for_thread(HANDLE thread) {
    ASSERT_TRUE(thread);
    EXPECT_EQ(WaitForSingleObject(thread, 60000), WAIT_OBJECT_0);
    CloseHandle(thread);
}

}  // namespace

// ---- Standard input ---------------------------------------------------------

TEST(PickInput, PipeFedSlowlyInSeveralWritesGivesEveryLine) {
    Pick pick = start_piped("Fruit \"x=$item\"");
    // CR LF, LF and CR ends, one CR LF split between two writes.
    HANDLE writer = feed_input(pick.run, "apple\r\nbanana\nblueberry\rcherry\r\n\r\ndate", 7, 150);
    ASSERT_TRUE(find_pick_window(pick, 20000));
    wait_for_thread(writer);
    EXPECT_EQ(shown_lines(pick), FRUIT);
    EXPECT_EQ(window_caption(pick.window), "Fruit");
    press_in(pick, VK_END);
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == 5; }));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 6u);
    EXPECT_EQ(end.output, "x=date");
}

TEST(PickInput, RedirectedFileIsReadAsAListAndOemListStillApplies) {
    std::string dir = scratch_dir();
    // "caf" and the OEM (code page 437) e acute, which the ANSI code page has
    // at another byte.
    write_file(dir + "\\list.txt", "one\r\ncaf\x82\r\n");
    char expected[] = "caf\x82";
    OemToCharBuffA(expected, expected, 4);
    LaunchOptions options;
    options.input = INPUT_FILE;
    options.input_file = dir + "\\list.txt";
    options.working_dir = dir;
    Pick pick = start_pick_with("- T $item /oemlist", options);
    ASSERT_TRUE(find_pick_window(pick));
    EXPECT_EQ(shown_lines(pick), (std::vector<std::string>{"one", expected}));
    press_in(pick, VK_DOWN);
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == 1; }));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 2u);
    EXPECT_EQ(end.output, expected);
}

TEST(PickInput, ConsoleAsStandardInputIsReported) {
    // Nothing piped or redirected: standard input is the new console.
    LaunchOptions options;
    options.mode = LAUNCH_NEW_CONSOLE;
    options.working_dir = scratch_dir();
    Pick pick = start_pick_with("- T $item", options);
    HWND box = wait_for_window(pick.run);
    ASSERT_TRUE(box);
    EXPECT_EQ(window_caption(box), "Orlipan 2.12");
    EXPECT_EQ(message_box_text(box), "Cannot open standard input");
    ASSERT_TRUE(make_foreground(box));
    press_key(VK_RETURN);
    EXPECT_EQ(finish(pick).exit_code, 0u);
}

TEST(PickInput, PipeClosedAtOnceShowsTheEmptyList) {
    Pick pick = start_piped("Nothing $item");
    wait_for_thread(feed_input(pick.run, ""));
    ASSERT_TRUE(find_pick_window(pick));
    EXPECT_EQ(SendMessageA(pick.list, LVM_GETITEMCOUNT, 0, 0), 0);
    press_in(pick, VK_RETURN);  // nothing to accept
    EXPECT_FALSE(wait_until([&] { return !still_open(pick); }, 500));
    press_in(pick, VK_ESCAPE);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 0u);
    EXPECT_EQ(end.output, "");
}

TEST(PickInput, MillionLinesFromAPipeEndWithTheLastLine) {
    const int count = 1000000;
    std::string bytes;
    bytes.reserve(count * 14);
    for (int i = 1; i <= count; ++i)
        bytes += "line " + std::to_string(i) + "\r\n";
    Pick pick = start_piped("Many \"$item\"");
    DWORD start = GetTickCount();
    HANDLE writer = feed_input(pick.run, bytes, 64);
    ASSERT_TRUE(find_pick_window(pick, 120000));
    wait_for_thread(writer);
    // Reported, not judged: the time depends on the machine.
    std::printf("[ info ] %d piped lines shown after %lu ms\n", count, GetTickCount() - start);
    EXPECT_EQ(SendMessageA(pick.list, LVM_GETITEMCOUNT, 0, 0), count);
    EXPECT_EQ(remote_item_text(pick.run.process, pick.list, 499999), "line 500000");
    press_in(pick, VK_END);
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == count - 1; }));
    press_in(pick, VK_RETURN);
    DWORD accepted = GetTickCount();
    Ending end = finish(pick, 60000);
    std::printf("[ info ] ended %lu ms after Enter\n", GetTickCount() - accepted);
    EXPECT_EQ(end.exit_code, 255u);
    EXPECT_EQ(end.output, "line 1000000");
}

#ifndef _WIN64
TEST(PickInput, ListTooLargeForTheProcessIsReported) {
    // 700 million zero bytes are as many empty lines; their index alone needs
    // more than the 2 GB a 32-bit process has. The file is extended, not
    // written, so it costs no disk space where the file system allows.
    std::string dir = scratch_dir();
    HANDLE file = CreateFileA((dir + "\\zeros.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 700LL * 1000 * 1000;
    ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    LaunchOptions options;
    options.working_dir = dir;
    Pick pick = start_pick_with("zeros.txt T $item", options);
    HWND box = wait_for_window(pick.run, 120000);
    ASSERT_TRUE(box);
    EXPECT_EQ(window_caption(box), "Orlipan 2.12");
    EXPECT_EQ(message_box_text(box), "List too large");
    ASSERT_TRUE(make_foreground(box));
    press_key(VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 0u);
    EXPECT_EQ(end.output, "");
    DeleteFileA((dir + "\\zeros.txt").c_str());
}
#endif

// ---- Typing to find a line --------------------------------------------------

TEST(PickTyping, FirstLettersSelectTheMatchingLineInNormalAndMenuMode) {
    for (const char* mode : {"", " /menu"}) {
        SCOPED_TRACE(mode);
        Pick pick = start_pick(lines_text(FRUIT), std::string("Fruit \"$item\"") + mode);
        ASSERT_TRUE(pick.window);
        press_in(pick, 'B');
        EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == 1; }));
        press_in(pick, 'L');  // "bl", typed soon after
        EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == 2; }));
        press_in(pick, VK_RETURN);
        Ending end = finish(pick);
        EXPECT_EQ(end.exit_code, 3u);
        EXPECT_EQ(end.output, "blueberry");
    }
}

// ---- Wide lines -------------------------------------------------------------

namespace {

const int FONT_SIZE = 9;

// The width a list view like the tool's (font, styles, creation size) gives
// its column fitted to `line` alone, and its width fitted to the header.
struct TwinFit {
    int line = 0;
    int header = 0;
};

TwinFit twin_fit(const std::string& line) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
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
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(FONT_SIZE, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    HFONT font =
        CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Verdana");
    SendMessageA(list, WM_SETFONT, (WPARAM)font, TRUE);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = (char*)line.c_str();
    SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    TwinFit fit;
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
    fit.header = (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
    fit.line = (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0);
    DestroyWindow(parent);
    DeleteObject(font);
    return fit;
}

int inner_width(HWND window) {
    RECT inner = {};
    GetClientRect(window, &inner);
    return inner.right;
}

}  // namespace

TEST(PickWideLines, WideLineWidensTheWindowToItsFitUpToTheWorkAreaLimit) {
    RECT work = work_area();
    int limit = (work.right - work.left) * 8 / 10;

    std::string wide(40, 'W');
    TwinFit fit = twin_fit(wide);
    int expected = (std::max(fit.line, fit.header) + FONT_SIZE) * 103 / 100;
    ASSERT_LT(expected, limit);
    Pick pick = start_pick(lines_text({"short", wide, "also short"}), "Wide");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(inner_width(pick.window), expected);
    // The whole line fits in its column.
    RECT row = remote_item_rect(pick.run.process, pick.list, 1);
    EXPECT_GE(row.right - row.left, fit.line);
    press_in(pick, VK_ESCAPE);
    finish(pick);

    Pick widest = start_pick(lines_text({"short", std::string(300, 'W')}), "Widest");
    ASSERT_TRUE(widest.window);
    EXPECT_EQ(inner_width(widest.window), limit);
    press_in(widest, VK_ESCAPE);
    finish(widest);
}

// ---- Batch files ------------------------------------------------------------

TEST(PickBatch, PipedFolderListingOpensThePickedFile) {
    std::string dir = scratch_dir();
    CreateDirectoryA((dir + "\\files").c_str(), nullptr);
    write_file(dir + "\\files\\alpha.txt", "first file");
    write_file(dir + "\\files\\beta.txt", "second file");
    write_file(dir + "\\files\\gamma.txt", "third file");
    HANDLE batch = start_batch("orlipan_pipe.cmd", dir);
    ASSERT_TRUE(batch);
    Pick pick = pick_started_by_batch("Pick a file");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(shown_lines(pick), (std::vector<std::string>{"alpha.txt", "beta.txt", "gamma.txt"}));
    press_in(pick, VK_DOWN);
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == 1; }));
    press_in(pick, VK_RETURN);
    EXPECT_EQ(batch_result(batch, dir), "second file");
    CloseHandle(pick.run.process);
}
