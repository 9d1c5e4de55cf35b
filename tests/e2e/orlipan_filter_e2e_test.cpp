// The list tool's /filter and /multi driven with real typing and clicks:
// narrowing the list from the filter box, moving through it while typing,
// the answer of a narrowed line, menu mode with a filter, and choosing
// several lines at once.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

namespace {

using Lines = std::vector<std::string>;
using Rows = std::vector<int>;

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

bool selects(Pick& pick, const Rows& rows) {
    return wait_until([&] { return selected_lines(pick.list) == rows; });
}

RECT client_rect_in(HWND window, HWND control) {
    RECT r = window_rect(control);
    MapWindowPoints(nullptr, window, (POINT*)&r, 2);
    return r;
}

}  // namespace

// ---- /filter -------------------------------------------------------------------

TEST(PickFilter, TypingNarrowsByEveryWordAndEscapeEmptiesTheBoxBeforeItCancels) {
    Pick pick = start_pick(lines_text(FILES), "Files \"$item\" /filter");
    ASSERT_TRUE(pick.window && filter_box(pick));
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    EXPECT_TRUE(wait_until([&] {
        GetGUIThreadInfo(GetWindowThreadProcessId(pick.window, nullptr), &info);
        return info.hwndFocus == filter_box(pick);
    }));
    type_text(pick, "rEp");
    EXPECT_TRUE(shows(pick, "rEp", {"Report 2023.txt", "report 2024.doc", "REPORT final.txt"}));
    EXPECT_EQ(selected_line(pick.list), 0);
    type_text(pick, "\b\b\b2024 rep");  // words in any order
    EXPECT_TRUE(shows(pick, "2024 rep", {"report 2024.doc"}));
    type_text(pick, "x");
    EXPECT_TRUE(shows(pick, "2024 repx", {}));
    press_in(pick, VK_RETURN);  // nothing to accept
    EXPECT_FALSE(wait_until([&] { return !still_open(pick); }, 500));

    press_in(pick, VK_ESCAPE);
    EXPECT_TRUE(shows(pick, "", FILES));
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
    press_in(pick, VK_UP);
    EXPECT_TRUE(selects(pick, {1}));
    press_in(pick, VK_NEXT);
    EXPECT_TRUE(selects(pick, {4}));
    press_with(pick, VK_HOME, false, true);
    EXPECT_TRUE(selects(pick, {0}));
    press_with(pick, VK_END, false, true);
    EXPECT_TRUE(selects(pick, {4}));
    // Plain Home and End move the caret in the box, not the list.
    press_in(pick, VK_HOME);
    press_in(pick, VK_END);
    EXPECT_FALSE(wait_until([&] { return selected_line(pick.list) != 4; }, 300));

    // Typing goes on after the moves and selects the first shown line anew.
    type_text(pick, "xt");
    EXPECT_TRUE(shows(pick, "txt", {"Report 2023.txt", "notes.txt", "REPORT final.txt"}));
    EXPECT_TRUE(selects(pick, {0}));
    press_in(pick, VK_DOWN);
    EXPECT_TRUE(selects(pick, {1}));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 4u);
    EXPECT_EQ(end.output, "set f=notes.txt");
}

TEST(PickFilter, MenuModeHidesBlankLinesWhileFilteringAndAClickAccepts) {
    const Lines menu = {"Edit the notes", "", "Show the calendar", "   ", "Quit"};
    Pick pick = start_pick(lines_text(menu), "Tools \"$item\" /menu /filter");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(shown_lines(pick), menu);
    type_text(pick, " the");
    EXPECT_TRUE(shows(pick, " the", {"Edit the notes", "Show the calendar"}));
    EXPECT_EQ(selected_line(pick.list), -1);
    press_in(pick, VK_RETURN);  // nothing selected: nothing happens
    EXPECT_FALSE(wait_until([&] { return !still_open(pick); }, 500));
    type_text(pick, "\b\b\b\b");
    EXPECT_TRUE(shows(pick, "", menu));
    type_text(pick, "cal");
    EXPECT_TRUE(shows(pick, "cal", {"Show the calendar"}));
    click_line(pick, 0);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 3u);
    EXPECT_EQ(end.output, "Show the calendar");
}

TEST(PickFilter, BoxSitsAboveAListOfTheSizeItHasWithoutABox) {
    Pick plain = start_pick(lines_text(FILES), "Files");
    ASSERT_TRUE(plain.window);
    RECT list = client_rect_in(plain.window, plain.list);
    RECT plain_window = client_rect_on_screen(plain.window);
    press_in(plain, VK_ESCAPE);
    EXPECT_TRUE(finish(plain).ended);

    Pick boxed = start_pick(lines_text(FILES), "Files /filter");
    ASSERT_TRUE(boxed.window);
    RECT box = client_rect_in(boxed.window, filter_box(boxed));
    RECT boxed_list = client_rect_in(boxed.window, boxed.list);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.bottom, boxed_list.top);
    EXPECT_EQ(box.right, boxed_list.right);
    OffsetRect(&boxed_list, 0, -box.bottom);
    EXPECT_TRUE(EqualRect(&boxed_list, &list));
    RECT boxed_window = client_rect_on_screen(boxed.window);
    EXPECT_EQ(boxed_window.bottom - boxed_window.top,
              plain_window.bottom - plain_window.top + box.bottom);
    press_in(boxed, VK_ESCAPE);
    EXPECT_TRUE(finish(boxed).ended);
}

TEST(PickFilter, AnAccentedLetterTypedFindsItInALineOfTheAnsiCodePage) {
    // The lines are bytes of the ANSI code page; what is typed must be
    // compared in the same code page, not in the UTF-8 of the window texts.
    char accented[4] = "";
    BOOL lost = FALSE;
    if (WideCharToMultiByte(CP_ACP, 0, L"\u00E9", 1, accented, sizeof accented, nullptr, &lost) !=
            1 ||
        lost) {
        GTEST_SKIP() << "the ANSI code page has no e acute";
    }
    std::string cafe = std::string("caf") + accented;
    Pick pick = start_pick(lines_text({"cafe", cafe + " noir", "the"}), "Drinks \"$item\" /filter");
    ASSERT_TRUE(pick.window && filter_box(pick));
    type_character(pick, L'\u00C9');  // the capital, found without regard to case
    EXPECT_TRUE(wait_until([&] { return shown_lines(pick) == Lines{cafe + " noir"}; }));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 2u);
    EXPECT_EQ(end.output, cafe + " noir");
}

// ---- /multi --------------------------------------------------------------------

namespace {

const Lines COLOURS = {"red", "green", "blue", "black"};

}  // namespace

TEST(PickMulti, ShiftAndCtrlChooseLinesAndEachGetsItsOwnOutputLine) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours \"copy $item D:\\\" /multi /quote");
    ASSERT_TRUE(pick.window);
    press_in(pick, VK_DOWN);
    press_with(pick, VK_END, true, false);
    EXPECT_TRUE(selects(pick, {1, 2, 3}));
    POINT p = line_point(pick, 2);
    click_holding(p.x, p.y, VK_CONTROL);
    EXPECT_TRUE(selects(pick, {1, 3}));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 2u);
    EXPECT_EQ(end.output, "copy \"green\" D:\\\r\ncopy \"black\" D:\\");
}

TEST(PickMulti, CtrlAInTheFilterBoxChoosesEveryShownLineOnly) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours $item /multi /filter");
    ASSERT_TRUE(pick.window);
    press_with(pick, 'A', false, true);
    EXPECT_TRUE(selects(pick, {0, 1, 2, 3}));
    // A change of the box starts the choice afresh.
    type_text(pick, "bl");
    EXPECT_TRUE(shows(pick, "bl", {"blue", "black"}));
    EXPECT_TRUE(selects(pick, {0}));
    // Ctrl+End from the box is the list's End, which selects the last line
    // alone (a held Ctrl would only move the focus in a list of several).
    press_with(pick, VK_END, false, true);
    EXPECT_TRUE(selects(pick, {1}));
    press_with(pick, 'A', false, true);
    EXPECT_TRUE(selects(pick, {0, 1}));
    EXPECT_EQ(box_text(pick), "bl");
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 2u);
    EXPECT_EQ(end.output, "blue\r\nblack");
}

TEST(PickMulti, BatchFileLoopsOverEveryPickedFile) {
    std::string dir = scratch_dir();
    CreateDirectoryA((dir + "\\files").c_str(), nullptr);
    const Lines names = {"alpha.txt", "beta.txt", "gamma.txt", "notes.doc"};
    for (const std::string& name : names)
        write_file(dir + "\\files\\" + name, "in " + name);
    HANDLE batch = start_batch("orlipan_multi.cmd", dir);
    ASSERT_TRUE(batch);
    Pick pick = pick_started_by_batch("Pick files");
    ASSERT_TRUE(pick.window);
    type_text(pick, "a.txt");
    EXPECT_TRUE(shows(pick, "a.txt", {"alpha.txt", "beta.txt", "gamma.txt"}));
    press_with(pick, VK_DOWN, true, false);
    EXPECT_TRUE(selects(pick, {0, 1}));
    press_in(pick, VK_RETURN);
    EXPECT_EQ(batch_result(batch, dir), "2 files\r\nalpha.txt\r\nbeta.txt\r\n");
    EXPECT_EQ(read_file(dir + "\\chosen\\beta.txt"), "in beta.txt");
    EXPECT_EQ(GetFileAttributesA((dir + "\\chosen\\gamma.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    CloseHandle(pick.run.process);
}
