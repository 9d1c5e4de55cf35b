// The list tool driven from outside with real keys and clicks: accepting and
// cancelling, the filled-in template, menu mode, code-page conversion, reports
// and batch files.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

#include <commctrl.h>

namespace {

const std::vector<std::string> COLOURS = {"red", "green", "a b", "   ", "", "blue"};

}  // namespace

// ---- Accepting and cancelling -----------------------------------------------

TEST(PickAccept, EnterRightAfterStartAcceptsTheFirstLine) {
    Pick pick = start_pick(lines_text(COLOURS), "Colours \"set choice=$ITEM\"");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(window_caption(pick.window), "Colours");
    EXPECT_TRUE(starts_on(pick.list, 0));
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
