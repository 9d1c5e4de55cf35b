// The example batch files given names and lines that a batch file can take
// for code: brackets in a folder's name, "%", "&", "!" and accented letters
// in file names and list lines. Each is read back as data, never run.
#include "tests/e2e/batch_driver.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <iostream>
#include <set>
#include <string>

namespace {

class ExampleAnswersTest : public testing::Test {
protected:
    static void SetUpTestSuite() { add_tools_to_path(); }
};

// A folder "a (b)" in a fresh folder, holding "100% x.txt" and "é.txt"
// (the name written through the wide call, whatever the code pages).
std::string tricky_folder() {
    std::string dir = fresh_dir() + "\\a (b)";
    EXPECT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    write_file(dir + "\\100% x.txt", "the percent file\r\n");
    std::wstring accented = std::wstring(dir.begin(), dir.end()) + L"\\\u00e9.txt";
    HANDLE file = CreateFileW(accented.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, "the accented file\r\n", 19, &written, nullptr);
    CloseHandle(file);
    return dir;
}

// Whether cmd.exe itself, in a console of its own, can take an accented
// name from dir and open the file by it, with no tool in between: on
// Windows it can; under Wine the name comes back as "?".
bool cmd_reopens_accented_names(const std::string& folder) {
    std::string work = fresh_dir();
    write_file(work + "\\probe.cmd", "@for /f \"delims=\" %%f in ('dir /b \"" + folder +
                                         "\\*.txt\"') do @type \"" + folder + "\\%%f\"\r\n");
    std::string command =
        "cmd.exe /d /c call \"" + work + "\\probe.cmd\" > \"" + work + "\\probe.txt\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                        work.c_str(), &startup, &info)) {
        return false;
    }
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return contains(read_file(work + "\\probe.txt"), "the accented file");
}

std::string pick_in(const char* example, const std::string& folder,
                    std::initializer_list<WORD> keys) {
    BatchRun batch = start_example(example, "\"" + folder + "\"", folder);
    ToolWindow tool = wait_for_tool(batch, "orlipan.exe");
    EXPECT_TRUE(tool.window) << example;
    if (tool.window)
        type_keys(tool, keys);
    std::string out = finish_batch(batch);
    close_tool(tool);
    return out;
}

TEST_F(ExampleAnswersTest, FilePickersTakeAnyFileNameInAFolderWithBrackets) {
    std::string folder = tricky_folder();
    std::string out = pick_in("pick_file.cmd", folder, {VK_RETURN});
    EXPECT_TRUE(contains(out, "Opening \"100% x.txt\"")) << out;
    EXPECT_TRUE(contains(out, "the percent file")) << out;

    if (cmd_reopens_accented_names(folder)) {
        out = pick_in("pick_file.cmd", folder, {VK_DOWN, VK_RETURN});
        EXPECT_TRUE(contains(out, "the accented file")) << out;
        EXPECT_FALSE(contains(out, "the percent file")) << out;
    } else {
        std::cout << "[ SKIPPED  ] the accented name: this cmd.exe cannot reopen it by itself\n";
    }

    // The files may share a time stamp: the line is found by typing its start.
    out = pick_in("open_recent.cmd", folder, {'1', VK_RETURN});
    EXPECT_TRUE(contains(out, "Opening \"100% x.txt\"")) << out;
    EXPECT_TRUE(contains(out, "the percent file")) << out;

    // No text files: the ")" of the folder's name must not end the message.
    std::string empty = fresh_dir() + "\\a (b)";
    ASSERT_TRUE(CreateDirectoryA(empty.c_str(), nullptr));
    BatchRun none = start_example("pick_file.cmd", "\"" + empty + "\"", empty);
    std::string said = finish_batch(none);
    EXPECT_TRUE(contains(said, "There are no text files in \"" + empty + "\".")) << said;
    EXPECT_TRUE(none.seen_tools.empty());
}

TEST_F(ExampleAnswersTest, AskLoopShowsLinesWithAmpersandPercentAndQuotesAsTheyAre) {
    std::string dir = fresh_dir();
    write_file(dir + "\\list.txt", "salt & pepper\r\n100% sure\r\nsay \"hi\" & bye!\r\n");
    BatchRun batch = start_example("ask_loop.cmd", "\"" + dir + "\\list.txt\"", dir);
    ToolWindow first = wait_for_tool(batch, "orlipan.exe");
    type_keys(first, {VK_RETURN});
    ToolWindow second = wait_for_tool(batch, "orlipan.exe");
    type_keys(second, {VK_DOWN, VK_RETURN});
    ToolWindow third = wait_for_tool(batch, "orlipan.exe");
    type_keys(third, {VK_DOWN, VK_DOWN, VK_RETURN});
    ToolWindow fourth = wait_for_tool(batch, "orlipan.exe");
    type_keys(fourth, {VK_ESCAPE});
    std::string out = finish_batch(batch);
    for (ToolWindow* tool : {&first, &second, &third, &fourth})
        close_tool(*tool);
    EXPECT_TRUE(
        contains(out, "You picked 3 item(s): [salt & pepper] [100% sure] [say \"hi\" & bye!]"))
        << out;
    // Had a line been run, cmd would have complained about "pepper" or "bye!".
    EXPECT_FALSE(contains(out, "pepper'")) << out;
    EXPECT_FALSE(contains(out, "bye!'")) << out;
}

TEST_F(ExampleAnswersTest, PickAgainStartsOnTheLinePickedLast) {
    std::string dir = fresh_dir();
    write_file(dir + "\\list.txt", "red\r\ngreen\r\nblue\r\nblack\r\n");
    BatchRun batch = start_example("pick_again.cmd", "\"" + dir + "\\list.txt\"", dir);
    ToolWindow first = wait_for_tool(batch, "orlipan.exe");
    ASSERT_TRUE(first.window);
    EXPECT_TRUE(starts_on(child_by_class(first.window, "SysListView32"), 0));
    type_keys(first, {VK_DOWN, VK_DOWN, VK_RETURN});
    ToolWindow second = wait_for_tool(batch, "orlipan.exe");
    ASSERT_TRUE(second.window);
    EXPECT_TRUE(starts_on(child_by_class(second.window, "SysListView32"), 2));
    type_keys(second, {VK_DOWN, VK_RETURN});
    ToolWindow third = wait_for_tool(batch, "orlipan.exe");
    ASSERT_TRUE(third.window);
    EXPECT_TRUE(starts_on(child_by_class(third.window, "SysListView32"), 3));
    type_keys(third, {VK_ESCAPE});
    std::string out = finish_batch(batch);
    for (ToolWindow* tool : {&first, &second, &third})
        close_tool(*tool);
    EXPECT_TRUE(contains(out, "Your last pick: line 4.")) << out;
}

// Line 300 gives exit code 255, which is a pick, not a tool that could not
// run: the next list starts on line 255, the nearest an exit code names.
TEST_F(ExampleAnswersTest, PickAgainTakesLine300ForAPick) {
    std::string dir = fresh_dir();
    std::string list;
    for (int line = 1; line <= 300; ++line)
        list += "colour " + std::to_string(line) + "\r\n";
    write_file(dir + "\\list.txt", list);
    BatchRun batch = start_example("pick_again.cmd", "\"" + dir + "\\list.txt\"", dir);
    ToolWindow first = wait_for_tool(batch, "orlipan.exe");
    type_keys(first, {VK_END, VK_RETURN});
    ToolWindow second = wait_for_tool(batch, "orlipan.exe");
    ASSERT_TRUE(second.window);
    EXPECT_TRUE(starts_on(child_by_class(second.window, "SysListView32"), 254));
    type_keys(second, {VK_ESCAPE});
    std::string out = finish_batch(batch);
    for (ToolWindow* tool : {&first, &second})
        close_tool(*tool);
    EXPECT_TRUE(contains(out, "Line 255 for now.")) << out;
    EXPECT_TRUE(contains(out, "Your last pick: line 255.")) << out;
    EXPECT_FALSE(contains(out, "could not")) << out;
}

// The header line is no row of the list: the rows are the folder's files,
// split at their tabs, and "$1" answers the name alone, "&" and all. Wine's
// cmd.exe, unlike Windows', sends what a block in brackets writes to the
// console even when the block is piped, and takes "pushd DIR || ..." for a
// failure when DIR exists; the example uses neither.
TEST_F(ExampleAnswersTest, PickFileColumnsAnswersTheNameOfThePickedRow) {
    std::string dir = fresh_dir();
    write_file(dir + "\\alpha.txt", "the alpha file, the longest of them\r\n");
    write_file(dir + "\\salt & pepper.txt", "the salt file\r\n");
    write_file(dir + "\\zebra.txt", "z\r\n");
    BatchRun batch = start_example("pick_file_columns.cmd", "\"" + dir + "\"", dir);
    ToolWindow tool = wait_for_tool(batch, "orlipan.exe");
    ASSERT_TRUE(tool.window);
    EXPECT_EQ(window_caption(tool.window), "Pick a file");
    HWND list = child_by_class(tool.window, "SysListView32");
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    std::set<std::string> names;
    for (int row = 0; row < 3; ++row)
        names.insert(remote_item_text(tool.run.process, list, row));
    EXPECT_EQ(names, (std::set<std::string>{"alpha.txt", "salt & pepper.txt", "zebra.txt"}));
    // The order of "for" is the file system's: the row is found by typing.
    type_keys(tool, {'S', VK_RETURN});
    std::string out = finish_batch(batch);
    close_tool(tool);
    EXPECT_TRUE(contains(out, "Opening \"salt & pepper.txt\"")) << out;
    EXPECT_TRUE(contains(out, "the salt file")) << out;

    BatchRun cancelled = start_example("pick_file_columns.cmd", "\"" + dir + "\"", dir);
    ToolWindow again = wait_for_tool(cancelled, "orlipan.exe");
    type_keys(again, {VK_ESCAPE});
    std::string said = finish_batch(cancelled);
    close_tool(again);
    EXPECT_TRUE(contains(said, "Nothing was picked.")) << said;
    EXPECT_FALSE(contains(said, "Opening")) << said;
}

}  // namespace
