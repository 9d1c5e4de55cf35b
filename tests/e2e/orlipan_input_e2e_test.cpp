// The list tool on lists from standard input and on lists of every size:
// pipes and redirection, a million lines, typing to find a line, and lines
// with bad bytes, and a ten-megabyte line.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

#include <commctrl.h>

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
    // The window shows at the first pause; the last line joins it once the
    // pipe is closed.
    EXPECT_TRUE(wait_until([&] { return shown_lines(pick) == FRUIT; }));
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
    expect_enter_ignored_then_escape_cancels(pick);  // nothing to accept
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
    // The window shows with its first screen; the rest joins as it is read.
    EXPECT_TRUE(
        wait_until([&] { return SendMessageA(pick.list, LVM_GETITEMCOUNT, 0, 0) == count; }));
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

// ---- Bad input and large lists ------------------------------------------

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
    Pick pick = start_pick(lines_text(FRUIT), "Fruit \"$item\"", LAUNCH_REDIRECT_PIPE);
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
