// The list tool's /filter and /multi driven with real typing and clicks:
// narrowing the list from the filter box, moving through it while typing,
// the answer of a narrowed line, menu mode with a filter, and choosing
// several lines at once.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

#include <commctrl.h>

namespace {

using Lines = std::vector<std::string>;

const Lines FILES = {"Report 2023.txt", "report 2024.doc", "Budget 2024.xls", "notes.txt",
                     "REPORT final.txt"};

HWND filter_box(Pick& pick) {
    return child_by_class(pick.window, "Edit");
}

// WM_GETTEXT is carried across processes by the system; GetWindowText would
// return the box's creation text only.
std::string box_text(Pick& pick) {
    char text[256] = "";
    SendMessageA(filter_box(pick), WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

HWND focus_of(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Each character as the key that types it; "\b" is Backspace.
void type_text(Pick& pick, const std::string& text) {
    ASSERT_TRUE(make_foreground(pick.window));
    for (char c : text) {
        SHORT key = c == '\b' ? VK_BACK : VkKeyScanA(c);
        press_key(LOBYTE(key), (HIBYTE(key) & 1) != 0);
    }
}

void press_with(Pick& pick, WORD vk, bool shift, bool control) {
    ASSERT_TRUE(make_foreground(pick.window));
    press_key(vk, shift, control);
}

// Waits until the box holds `typed` and the list shows `lines`.
bool shows(Pick& pick, const std::string& typed, const Lines& lines) {
    return wait_until([&] { return box_text(pick) == typed && shown_lines(pick) == lines; });
}

bool selects(Pick& pick, int line) {
    return wait_until([&] { return selected_line(pick.list) == line; });
}

int inner_height(HWND window) {
    RECT inner = {};
    GetClientRect(window, &inner);
    return inner.bottom;
}

RECT rect_in(HWND window, HWND control) {
    RECT r = window_rect(control);
    MapWindowPoints(nullptr, window, (POINT*)&r, 2);
    return r;
}

}  // namespace

// ---- /filter -------------------------------------------------------------------

TEST(PickFilter, TypingNarrowsByEveryWordAndEscapeEmptiesTheBoxBeforeItCancels) {
    Pick pick = start_pick(lines_text(FILES), "Files \"$item\" /filter");
    ASSERT_TRUE(pick.window);
    ASSERT_TRUE(filter_box(pick));
    EXPECT_TRUE(wait_until([&] { return focus_of(pick.window) == filter_box(pick); }));
    EXPECT_EQ(shown_lines(pick), FILES);

    type_text(pick, "rEp");
    EXPECT_TRUE(shows(pick, "rEp", {"Report 2023.txt", "report 2024.doc", "REPORT final.txt"}));
    EXPECT_EQ(selected_line(pick.list), 0);
    type_text(pick, " 2024");
    EXPECT_TRUE(shows(pick, "rEp 2024", {"report 2024.doc"}));
    // Words in any order.
    type_text(pick, "\b\b\b\b\b\b\b\b2024 rep");
    EXPECT_TRUE(shows(pick, "2024 rep", {"report 2024.doc"}));

    type_text(pick, "x");
    EXPECT_TRUE(shows(pick, "2024 repx", {}));
    press_in(pick, VK_RETURN);  // nothing to accept
    EXPECT_FALSE(wait_until([&] { return !still_open(pick); }, 500));

    press_in(pick, VK_ESCAPE);
    EXPECT_TRUE(shows(pick, "", FILES));
    EXPECT_TRUE(still_open(pick));
    press_in(pick, VK_ESCAPE);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 0u);
    EXPECT_EQ(end.output, "");
}

TEST(PickFilter, KeysInTheBoxMoveTheListAndTheAnswerIsTheLinesOwn) {
    Pick pick = start_pick(lines_text(FILES), "Files \"set f=$item\" /filter");
    ASSERT_TRUE(pick.window);
    type_text(pick, "t");
    EXPECT_TRUE(shows(pick, "t", FILES));
    press_in(pick, VK_DOWN);
    press_in(pick, VK_DOWN);
    EXPECT_TRUE(selects(pick, 2));
    press_in(pick, VK_UP);
    EXPECT_TRUE(selects(pick, 1));
    press_in(pick, VK_NEXT);
    EXPECT_TRUE(selects(pick, 4));
    press_with(pick, VK_HOME, false, true);
    EXPECT_TRUE(selects(pick, 0));
    press_with(pick, VK_END, false, true);
    EXPECT_TRUE(selects(pick, 4));
    // Plain Home moves the caret in the box, not the list.
    press_in(pick, VK_HOME);
    EXPECT_FALSE(wait_until([&] { return selected_line(pick.list) != 4; }, 300));

    // Typing goes on after the moves and selects the first shown line anew.
    press_in(pick, VK_END);
    type_text(pick, "xt");
    EXPECT_TRUE(shows(pick, "txt", {"Report 2023.txt", "notes.txt", "REPORT final.txt"}));
    EXPECT_TRUE(selects(pick, 0));
    press_in(pick, VK_DOWN);
    EXPECT_TRUE(selects(pick, 1));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 4u);
    EXPECT_EQ(end.output, "set f=notes.txt");
}

TEST(PickFilter, NarrowedLineBeyond255AnswersWith255AndItsText) {
    Lines many;
    for (int i = 1; i <= 400; ++i)
        many.push_back("line " + std::to_string(i));
    Pick pick = start_pick(lines_text(many), "Many \"$item\" /filter");
    ASSERT_TRUE(pick.window);
    type_text(pick, "305");
    EXPECT_TRUE(shows(pick, "305", {"line 305"}));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 255u);
    EXPECT_EQ(end.output, "line 305");
}

TEST(PickFilter, MenuModeHidesBlankLinesWhileFilteringAndAClickAccepts) {
    const Lines menu = {"Edit the notes", "", "Show the calendar", "   ", "Quit"};
    Pick pick = start_pick(lines_text(menu), "Tools \"$item\" /menu /filter");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(shown_lines(pick), menu);
    type_text(pick, " ");
    EXPECT_TRUE(shows(pick, " ", {"Edit the notes", "Show the calendar", "Quit"}));
    type_text(pick, "the");
    EXPECT_TRUE(shows(pick, " the", {"Edit the notes", "Show the calendar"}));
    EXPECT_EQ(selected_line(pick.list), -1);
    press_in(pick, VK_RETURN);  // nothing selected: nothing happens
    EXPECT_FALSE(wait_until([&] { return !still_open(pick); }, 500));
    press_in(pick, VK_ESCAPE);
    EXPECT_TRUE(shows(pick, "", menu));
    type_text(pick, "cal");
    EXPECT_TRUE(shows(pick, "cal", {"Show the calendar"}));
    click_line(pick, 0);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 3u);
    EXPECT_EQ(end.output, "Show the calendar");
}

TEST(PickFilter, BoxSitsAboveAListOfTheSizeItHasWithoutABox) {
    for (const char* mode : {"", " /menu"}) {
        SCOPED_TRACE(mode);
        Pick plain = start_pick(lines_text(FILES), std::string("Files") + mode);
        ASSERT_TRUE(plain.window);
        RECT list = rect_in(plain.window, plain.list);
        int plain_height = inner_height(plain.window);
        press_in(plain, VK_ESCAPE);
        EXPECT_TRUE(finish(plain).ended);

        Pick boxed = start_pick(lines_text(FILES), std::string("Files /filter") + mode);
        ASSERT_TRUE(boxed.window);
        RECT boxed_list = rect_in(boxed.window, boxed.list);
        RECT box = rect_in(boxed.window, filter_box(boxed));
        int margin = list.left;
        EXPECT_EQ(box.left, margin);
        EXPECT_EQ(box.top, margin);
        EXPECT_EQ(box.right, boxed_list.right);
        EXPECT_EQ(box.bottom, boxed_list.top);
        EXPECT_GT(box.bottom - box.top, 10);
        EXPECT_EQ(boxed_list.right - boxed_list.left, list.right - list.left);
        EXPECT_EQ(boxed_list.bottom - boxed_list.top, list.bottom - list.top);
        EXPECT_EQ(inner_height(boxed.window), plain_height + box.bottom - box.top);
        // Typing leaves the window as it is.
        RECT before = window_rect(boxed.window);
        type_text(boxed, "zzz");
        EXPECT_TRUE(shows(boxed, "zzz", {}));
        RECT after = window_rect(boxed.window);
        EXPECT_TRUE(EqualRect(&before, &after));
        request_close(boxed.window);
        EXPECT_TRUE(finish(boxed).ended);
    }
}

// ---- /multi --------------------------------------------------------------------

namespace {

const Lines COLOURS = {"red", "green", "blue", "black"};

}  // namespace

TEST(PickMulti, CtrlClickAddsALineAndEnterWritesOneOutputLineEach) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours \"set c=$item\" /multi");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(selected_line(pick.list), 0);
    ASSERT_TRUE(make_foreground(pick.window));
    POINT p = line_point(pick, 2);
    click_holding(p.x, p.y, VK_CONTROL);
    EXPECT_TRUE(wait_until([&] { return selected_lines(pick.list) == std::vector<int>{0, 2}; }));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 2u);
    EXPECT_EQ(end.output, "set c=red\r\nset c=blue");
}

TEST(PickMulti, ShiftEndChoosesToTheLastLineAndQuoteAppliesToEachLine) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours \"copy $item D:\\\" /multi /quote");
    ASSERT_TRUE(pick.window);
    press_in(pick, VK_DOWN);
    EXPECT_TRUE(selects(pick, 1));
    press_with(pick, VK_END, true, false);
    EXPECT_TRUE(wait_until([&] { return selected_lines(pick.list) == std::vector<int>{1, 2, 3}; }));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 3u);
    EXPECT_EQ(end.output, "copy \"green\" D:\\\r\ncopy \"blue\" D:\\\r\ncopy \"black\" D:\\");
}

TEST(PickMulti, CtrlAInTheFilterBoxChoosesEveryShownLineOnly) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours $item /multi /filter");
    ASSERT_TRUE(pick.window);
    type_text(pick, "bl");
    EXPECT_TRUE(shows(pick, "bl", {"blue", "black"}));
    press_with(pick, 'A', false, true);
    EXPECT_TRUE(wait_until([&] { return selected_lines(pick.list) == std::vector<int>{0, 1}; }));
    EXPECT_EQ(box_text(pick), "bl");
    // Ctrl+End from the box is the list's End: it selects the last line alone
    // (a list of several lines would take a held Ctrl as "move the focus only").
    press_with(pick, VK_END, false, true);
    EXPECT_TRUE(wait_until([&] { return selected_lines(pick.list) == std::vector<int>{1}; }));
    press_with(pick, 'A', false, true);
    EXPECT_TRUE(wait_until([&] { return selected_lines(pick.list) == std::vector<int>{0, 1}; }));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 2u);
    EXPECT_EQ(end.output, "blue\r\nblack");
}

TEST(PickMulti, MultiWithMenuIsReportedAsAnInvalidOption) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours $item /multi /menu");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(window_caption(pick.window), "Orlipan 2.12");
    EXPECT_EQ(message_box_text(pick.window), "Invalid Option: /multi");
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 0u);
    EXPECT_EQ(end.output, "");
}

TEST(PickMulti, BatchFileLoopsOverEveryPickedFile) {
    std::string dir = scratch_dir();
    CreateDirectoryA((dir + "\\files").c_str(), nullptr);
    write_file(dir + "\\files\\alpha.txt", "first file");
    write_file(dir + "\\files\\beta.txt", "second file");
    write_file(dir + "\\files\\gamma.txt", "third file");
    write_file(dir + "\\files\\notes.doc", "fourth file");
    HANDLE batch = start_batch("orlipan_multi.cmd", dir);
    ASSERT_TRUE(batch);
    Pick pick = pick_started_by_batch("Pick files");
    ASSERT_TRUE(pick.window);
    type_text(pick, "a.txt");
    EXPECT_TRUE(shows(pick, "a.txt", {"alpha.txt", "beta.txt", "gamma.txt"}));
    press_with(pick, VK_DOWN, true, false);
    EXPECT_TRUE(wait_until([&] { return selected_lines(pick.list) == std::vector<int>{0, 1}; }));
    press_in(pick, VK_RETURN);
    EXPECT_EQ(batch_result(batch, dir), "2 files\r\nalpha.txt\r\nbeta.txt\r\n");
    EXPECT_EQ(read_file(dir + "\\chosen\\alpha.txt"), "first file");
    EXPECT_EQ(read_file(dir + "\\chosen\\beta.txt"), "second file");
    EXPECT_EQ(GetFileAttributesA((dir + "\\chosen\\gamma.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    CloseHandle(pick.run.process);
}
