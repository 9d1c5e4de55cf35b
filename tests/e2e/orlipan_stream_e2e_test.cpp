// The list tool on a pipe whose writer holds it open and writes in steps, as
// a command still listing does: the window shows before the input ends and
// later lines join it, under the filter, /auto, /sel, /header and /multi.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

#include <commctrl.h>

namespace {

using Lines = std::vector<std::string>;
using Rows = std::vector<int>;

const Lines FIRST = {"line 1", "line 2", "line 3"};
const Lines LATER = {"line 4", "line 5", "line 6"};

Pick start_held(const std::string& args) {
    LaunchOptions options;
    options.input = INPUT_PIPE;
    options.working_dir = scratch_dir();
    return start_pick_with("- " + args, options);
}

// Writes `lines` and leaves the pipe open: the window must show all the same.
bool shows_while_held(Pick& pick, const Lines& lines) {
    return write_input(pick.run, lines_text(lines)) && find_pick_window(pick);
}

// The writer's pause of `ms`, far past the tool's own: the tool must neither
// show a window in it nor end.
bool no_window_for(Pick& pick, int ms) {
    return !wait_until([&] { return !tool_windows(pick.run.pid).empty() || !still_open(pick); },
                       ms);
}

// Waits for the tool to end, watching that no window of it shows meanwhile.
bool ends_without_window(Pick& pick) {
    bool shown = false;
    bool ended = wait_until(
        [&] {
            shown = shown || !tool_windows(pick.run.pid).empty();
            return !still_open(pick);
        },
        EXIT_TIMEOUT_MS);
    return ended && !shown;
}

std::string reading(const std::string& title, int lines) {
    return title + " \xE2\x80\x94 reading, " + std::to_string(lines) + " lines so far";
}

bool titled(Pick& pick, const std::string& title) {
    return wait_until([&] { return window_text_utf8(pick.window) == title; });
}

bool shows(Pick& pick, const Lines& lines) {
    return wait_until([&] { return shown_lines(pick) == lines; });
}

// Enter, and the tool ends with `code` and `output`.
void accepts(Pick& pick, unsigned code, const std::string& output) {
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, code);
    EXPECT_EQ(end.output, output);
}

bool selects(Pick& pick, const Rows& rows) {
    return wait_until([&] { return selected_lines(pick.list) == rows; });
}

}  // namespace

TEST(PickStream, WindowShowsBeforeTheEndAndSaysSoUntilTheEnd) {
    Pick pick = start_held("\"Fruit & nuts\" \"x=$item\"");
    ASSERT_TRUE(shows_while_held(pick, {"apple", "banana", "cherry"}));
    EXPECT_TRUE(shows(pick, {"apple", "banana", "cherry"}));
    EXPECT_TRUE(titled(pick, reading("Fruit & nuts", 3)));
    ASSERT_TRUE(write_input(pick.run, "date\r\n"));
    EXPECT_TRUE(shows(pick, {"apple", "banana", "cherry", "date"}));
    EXPECT_TRUE(titled(pick, reading("Fruit & nuts", 4)));
    EXPECT_EQ(selected_line(pick.list), 0);
    close_input(pick.run);
    EXPECT_TRUE(titled(pick, "Fruit & nuts"));
    press_in(pick, VK_END);
    EXPECT_TRUE(selects(pick, {3}));
    accepts(pick, 4u, "x=date");
}

TEST(PickStream, EnterOrEscapeBeforeTheEndEndsAtOnceAndTheWriterFindsItsPipeClosed) {
    for (WORD key : {VK_RETURN, VK_ESCAPE}) {
        Pick pick = start_held("Fruit \"x=$item\"");
        ASSERT_TRUE(shows_while_held(pick, {"apple", "banana", "cherry"}));
        press_in(pick, VK_DOWN);
        EXPECT_TRUE(selects(pick, {1}));
        press_in(pick, key);
        // The writer never closes its end: a tool that waited for it would
        // not end at all.
        DWORD code = 12345;
        ASSERT_TRUE(wait_exit(pick.run, 5000, &code)) << "key " << key;
        // Under Wine the pipe has been seen to take one more write in the
        // first few milliseconds after the tool ended.
        EXPECT_TRUE(wait_until([&] { return !write_input(pick.run, "date\r\n"); }, 2000))
            << "key " << key;
        Ending end = finish(pick);
        EXPECT_EQ(end.exit_code, key == VK_RETURN ? 2u : 0u);
        EXPECT_EQ(end.output, key == VK_RETURN ? "x=banana" : "");
    }
}

TEST(PickStream, FilterTypedWhileLinesArriveTakesInTheMatchingOnes) {
    Pick pick = start_held("Fruit \"$item\" /filter");
    ASSERT_TRUE(shows_while_held(pick, {"apple", "banana", "cherry"}));
    for (wchar_t c : std::wstring(L"an"))
        type_character(pick, c);
    EXPECT_TRUE(shows(pick, {"banana"}));
    ASSERT_TRUE(write_input(pick.run, lines_text({"mango", "kiwi", "ORANGE"})));
    EXPECT_TRUE(shows(pick, {"banana", "mango", "ORANGE"}));
    EXPECT_TRUE(titled(pick, reading("Fruit", 6)));
    EXPECT_EQ(selected_line(pick.list), 0);
    press_in(pick, VK_DOWN);
    EXPECT_TRUE(selects(pick, {1}));
    accepts(pick, 4u, "mango");  // mango's number in the whole input
}

TEST(PickStream, AutoWaitsForASecondLineOrAnswersTheOneWhenTheInputEnds) {
    Pick pick = start_held("T \"$item\" /auto");
    ASSERT_TRUE(write_input(pick.run, "one\r\n"));
    EXPECT_TRUE(no_window_for(pick, 400));
    ASSERT_TRUE(write_input(pick.run, "two\r\n"));
    ASSERT_TRUE(find_pick_window(pick));
    EXPECT_TRUE(shows(pick, {"one", "two"}));
    EXPECT_TRUE(titled(pick, reading("T", 2)));
    press_in(pick, VK_DOWN);
    EXPECT_TRUE(selects(pick, {1}));
    accepts(pick, 2u, "two");

    Pick single = start_held("T \"$item\" /auto");
    ASSERT_TRUE(write_input(single.run, "only\r\n"));
    EXPECT_TRUE(no_window_for(single, 400));
    close_input(single.run);
    EXPECT_TRUE(ends_without_window(single));
    Ending answered = finish(single);
    EXPECT_EQ(answered.exit_code, 1u);
    EXPECT_EQ(answered.output, "only");
}

TEST(PickStream, SelNumberAppliesWhenItsLineArrivesUnlessTheUserMovedFirst) {
    Pick pick = start_held("T \"$item\" /sel=5");
    ASSERT_TRUE(shows_while_held(pick, FIRST));
    EXPECT_TRUE(shows(pick, FIRST));
    EXPECT_EQ(selected_line(pick.list), 0);  // line 5 is not in yet
    ASSERT_TRUE(write_input(pick.run, lines_text(LATER)));
    EXPECT_TRUE(selects(pick, {4}));
    accepts(pick, 5u, "line 5");

    Pick moved = start_held("T \"$item\" /sel=5");
    ASSERT_TRUE(shows_while_held(moved, FIRST));
    press_in(moved, VK_DOWN);
    EXPECT_TRUE(selects(moved, {1}));
    ASSERT_TRUE(write_input(moved.run, lines_text(LATER)));
    close_input(moved.run);
    EXPECT_TRUE(titled(moved, "T"));  // every line is in
    EXPECT_EQ(shown_lines(moved).size(), 6u);
    EXPECT_EQ(selected_lines(moved.list), (Rows{1}));
    press_in(moved, VK_RETURN);
    EXPECT_EQ(finish(moved).exit_code, 2u);
}

TEST(PickStream, HeaderSplitAcrossWritesIsWaitedFor) {
    Pick pick = start_held("T \"$item\" /header=2");
    // The second header line is cut in two by the writer's pause.
    ASSERT_TRUE(write_input(pick.run, "Named colours\r\nNa"));
    EXPECT_TRUE(no_window_for(pick, 400));
    ASSERT_TRUE(write_input(pick.run, "me\r\nred\r\nblue\r\n"));
    ASSERT_TRUE(find_pick_window(pick));
    EXPECT_EQ(remote_column_title(pick.run.process, pick.list, 0), "Name");
    EXPECT_TRUE(child_by_text(pick.window, "Static", "Named colours"));
    EXPECT_TRUE(shows(pick, {"red", "blue"}));
    EXPECT_TRUE(titled(pick, reading("T", 4)));  // the header lines count
    accepts(pick, 3u, "red");
}

// The lines that join are measured for the window's width without touching
// the list's rows, so no choice is lost.
TEST(PickStream, MultiChoicesStayAsLinesArrive) {
    Pick pick = start_held("T \"$item\" /multi");
    ASSERT_TRUE(shows_while_held(pick, {"red", "green", "blue"}));
    press_in(pick, VK_DOWN);
    ASSERT_TRUE(make_foreground(pick.window));
    press_key(VK_END, true);
    EXPECT_TRUE(selects(pick, {1, 2}));
    ASSERT_TRUE(write_input(pick.run, lines_text({"black", "white"})));
    EXPECT_TRUE(shows(pick, {"red", "green", "blue", "black", "white"}));
    EXPECT_EQ(selected_lines(pick.list), (Rows{1, 2}));
    // The window has grown to show the new lines; the last one is clicked.
    RECT list = {};
    EXPECT_TRUE(wait_until([&] {
        GetClientRect(pick.list, &list);
        return remote_item_rect(pick.run.process, pick.list, 4).bottom <= list.bottom;
    }));
    POINT p = line_point(pick, 4);
    click_holding(p.x, p.y, VK_CONTROL);
    EXPECT_TRUE(selects(pick, {1, 2, 4}));
    accepts(pick, 3u, "green\r\nblue\r\nwhite");
}

TEST(PickStream, LongFileShowsItsFirstLinesAndIsHeldWhileShown) {
    std::string dir = scratch_dir();
    std::string bytes;
    for (int i = 1; i <= 200000; ++i)
        bytes += "line " + std::to_string(i) + "\r\n";
    write_file(dir + "\\long.txt", bytes);
    LaunchOptions options;
    options.working_dir = dir;
    Pick pick = start_pick_with("long.txt Long \"$item\"", options);
    ASSERT_TRUE(find_pick_window(pick));
    // The tool reads its own copy, and no other program may change the file
    // under it meanwhile.
    HANDLE writer = CreateFileA((dir + "\\long.txt").c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DeleteFileA((dir + "\\long.txt").c_str()));
    EXPECT_TRUE(titled(pick, "Long"));
    EXPECT_TRUE(
        wait_until([&] { return SendMessageA(pick.list, LVM_GETITEMCOUNT, 0, 0) == 200000; }));
    press_in(pick, VK_END);
    EXPECT_TRUE(selects(pick, {199999}));
    accepts(pick, 255u, "line 200000");
}
