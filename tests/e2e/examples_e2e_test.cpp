// The example batch files, run as a user runs them: cmd.exe in a console of
// its own, the tools found on PATH, real keys and clicks in the windows the
// batch files open, and the batch files' own console output checked.
#include "tests/e2e/batch_driver.h"
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ExamplesTest : public testing::Test {
protected:
    static void SetUpTestSuite() { add_tools_to_path(); }
};

TEST_F(ExamplesTest, PickFileShowsThePickedFileEvenWithAnAmpersandInItsName) {
    std::string dir = fresh_dir();
    write_file(dir + "\\alpha.txt", "first file\r\n");
    write_file(dir + "\\salt & pepper.txt", "second file\r\n");
    write_file(dir + "\\zebra.txt", "third file\r\n");

    BatchRun batch = start_example("pick_file.cmd", "", dir);
    ToolWindow tool = wait_for_tool(batch, "orlipan.exe");
    ASSERT_TRUE(tool.window);
    EXPECT_EQ(window_caption(tool.window), "Pick a file");
    type_keys(tool, {VK_DOWN, VK_RETURN});
    std::string out = finish_batch(batch);
    close_tool(tool);

    EXPECT_TRUE(contains(out, "Opening \"salt & pepper.txt\"")) << out;
    EXPECT_TRUE(contains(out, "second file")) << out;
    EXPECT_FALSE(contains(out, "first file")) << out;
}

// Files written a day apart, so that the newest-first order is certain.
void write_file_dated(const std::string& path, const std::string& bytes, int days_ago) {
    write_file(path, bytes);
    SYSTEMTIME now_system;
    GetSystemTime(&now_system);
    FILETIME now;
    SystemTimeToFileTime(&now_system, &now);
    ULARGE_INTEGER when;
    when.LowPart = now.dwLowDateTime;
    when.HighPart = now.dwHighDateTime;
    when.QuadPart -= (ULONGLONG)days_ago * 24 * 3600 * 10000000ULL;
    FILETIME stamp = {when.LowPart, when.HighPart};
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);
}

TEST_F(ExamplesTest, OpenRecentPipesTheFolderNewestFirstAndOpensThePick) {
    std::string dir = fresh_dir();
    write_file_dated(dir + "\\old.txt", "the old file\r\n", 3);
    write_file_dated(dir + "\\newest.txt", "the newest file\r\n", 1);
    write_file_dated(dir + "\\middle & more.txt", "the middle file\r\n", 2);

    BatchRun batch = start_example("open_recent.cmd", "", dir);
    ToolWindow tool = wait_for_tool(batch, "orlipan.exe");
    ASSERT_TRUE(tool.window);
    EXPECT_EQ(window_caption(tool.window), "Open a recent file");
    type_keys(tool, {VK_DOWN, VK_RETURN});
    std::string out = finish_batch(batch);
    close_tool(tool);

    EXPECT_TRUE(contains(out, "Opening \"middle & more.txt\"")) << out;
    EXPECT_TRUE(contains(out, "the middle file")) << out;
    EXPECT_FALSE(contains(out, "the newest file")) << out;
}

TEST_F(ExamplesTest, PickFileCancelledOrWithoutFilesOpensNothing) {
    std::string dir = fresh_dir();
    write_file(dir + "\\only.txt", "the only file\r\n");
    BatchRun batch = start_example("pick_file.cmd", "", dir);
    ToolWindow tool = wait_for_tool(batch, "orlipan.exe");
    type_keys(tool, {VK_ESCAPE});
    std::string out = finish_batch(batch);
    close_tool(tool);
    EXPECT_TRUE(contains(out, "Nothing was picked.")) << out;
    EXPECT_FALSE(contains(out, "the only file")) << out;

    std::string empty = fresh_dir();
    BatchRun none = start_example("pick_file.cmd", "", empty);
    std::string said = finish_batch(none);
    EXPECT_TRUE(contains(said, "There are no text files")) << said;
    EXPECT_TRUE(none.seen_tools.empty());
}

// menu.cmd writes its list with one redirection per line. Wine's cmd.exe
// (unlike Windows') sends the output of a bracketed block "( ... ) > file" to
// the console and leaves the file empty, which showed an empty menu here.
TEST_F(ExamplesTest, MenuRunsTheClickedEntry) {
    std::string dir = fresh_dir();
    BatchRun batch = start_example("menu.cmd", "", dir);
    ToolWindow tool = wait_for_tool(batch, "orlipan.exe");
    ASSERT_TRUE(tool.window);
    click_row(tool, 0);
    std::string out = finish_batch(batch);
    close_tool(tool);
    EXPECT_TRUE(contains(out, "Hello from the launcher.")) << out;
}

TEST_F(ExamplesTest, MenuSeparatorCannotBePickedAndTheEntryAfterItCan) {
    std::string dir = fresh_dir();
    write_file(dir + "\\marker.dat", "");

    // A click on the blank line 3 must leave the menu open; had it been
    // taken, the batch file would have ended without a label for line 3 and
    // the click on line 4 would reach no menu.
    BatchRun batch = start_example("menu.cmd", "", dir);
    ToolWindow tool = wait_for_tool(batch, "orlipan.exe");
    ASSERT_TRUE(tool.window);
    click_row(tool, 2);
    click_row(tool, 3);
    std::string out = finish_batch(batch);
    close_tool(tool);
    EXPECT_TRUE(contains(out, "marker.dat")) << out;
    EXPECT_FALSE(contains(out, "Bye.")) << out;
}

TEST_F(ExamplesTest, ConfirmDeletesOnlyAfterYes) {
    std::string dir = fresh_dir();
    write_file(dir + "\\old.tmp", "x");
    write_file(dir + "\\keep.txt", "x");
    BatchRun batch = start_example("confirm.cmd", "", dir);
    ToolWindow tool = wait_for_tool(batch, "vemo.exe");
    ASSERT_TRUE(tool.window);
    EXPECT_EQ(window_caption(tool.window), "Clean up");
    HWND yes = child_by_text(tool.window, "Button", "&Yes");
    ASSERT_TRUE(yes);
    // As in the message tool's own tests: a click that reaches the box while
    // it settles right after showing goes by without an answer, so a click
    // that leaves the box open is given again (seen once in five runs under
    // Wine without a virtual desktop).
    bool answered = false;
    for (int attempt = 0; attempt < 3 && !answered; ++attempt) {
        ASSERT_TRUE(make_foreground(tool.window));
        RECT r = window_rect(yes);
        click_on(yes, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        answered = wait_until(
            [&] { return WaitForSingleObject(tool.run.process, 0) == WAIT_OBJECT_0; }, 3000);
    }
    EXPECT_TRUE(answered) << "the box stayed open";
    std::string out = finish_batch(batch);
    close_tool(tool);
    EXPECT_TRUE(contains(out, "The .tmp files were deleted.")) << out;
    EXPECT_FALSE(file_exists(dir + "\\old.tmp"));
    EXPECT_TRUE(file_exists(dir + "\\keep.txt"));
}

TEST_F(ExamplesTest, ConfirmLeftAloneAnswersNoWhenTheCountdownEnds) {
    std::string dir = fresh_dir();
    write_file(dir + "\\old.tmp", "x");
    BatchRun batch = start_example("confirm.cmd", "2", dir);
    ToolWindow tool = wait_for_tool(batch, "vemo.exe");
    ASSERT_TRUE(tool.window);
    // The countdown shows in the default button, which the batch file made No.
    EXPECT_TRUE(child_by_text(tool.window, "Button", "&No (2)") ||
                child_by_text(tool.window, "Button", "&No (1)"));
    std::string out = finish_batch(batch);
    close_tool(tool);
    EXPECT_TRUE(contains(out, "Nothing was deleted.")) << out;
    EXPECT_TRUE(file_exists(dir + "\\old.tmp"));
}

TEST_F(ExamplesTest, AskLoopAsksAgainUntilCancelled) {
    std::string dir = fresh_dir();
    write_file(dir + "\\list.txt", "red\r\ngreen\r\nblue\r\n");
    BatchRun batch = start_example("ask_loop.cmd", "\"" + dir + "\\list.txt\"", dir);

    ToolWindow first = wait_for_tool(batch, "orlipan.exe");
    type_keys(first, {VK_RETURN});
    ToolWindow second = wait_for_tool(batch, "orlipan.exe");
    type_keys(second, {VK_DOWN, VK_DOWN, VK_RETURN});
    ToolWindow third = wait_for_tool(batch, "orlipan.exe");
    type_keys(third, {VK_ESCAPE});
    std::string out = finish_batch(batch);
    for (ToolWindow* tool : {&first, &second, &third})
        close_tool(*tool);

    EXPECT_EQ(batch.seen_tools.size(), 3u);
    EXPECT_TRUE(contains(out, "You picked 2 item(s): [red] [blue]")) << out;
}

// Without a console window the tools end at once with 255. The loop must
// not take that for an answer and ask forever, nor the menu jump nowhere.
TEST_F(ExamplesTest, WithoutAConsoleWindowTheLoopAndTheMenuStop) {
    std::string dir = fresh_dir();
    write_file(dir + "\\list.txt", "red\r\n");
    BatchRun loop = start_example("ask_loop.cmd", "\"" + dir + "\\list.txt\"", dir, true);
    std::string out = finish_batch(loop);
    EXPECT_TRUE(contains(out, "orlipan could not show the list.")) << out;
    EXPECT_TRUE(contains(out, "You picked 0 item(s):")) << out;

    std::string menu_dir = fresh_dir();
    BatchRun menu = start_example("menu.cmd", "", menu_dir, true);
    std::string said = finish_batch(menu);
    EXPECT_TRUE(contains(said, "orlipan could not show the menu.")) << said;
}

}  // namespace
