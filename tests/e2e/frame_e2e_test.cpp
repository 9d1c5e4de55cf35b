// Process frame of both tools seen from outside: finding the console window,
// exit codes, the list tool's command-line reports and standard output
// redirected to a file or a pipe.
#include <gtest/gtest.h>

#include "orlipan/pick_help.h"
#include "tests/e2e/driver.h"

namespace {

const int EXIT_TIMEOUT_MS = 20000;
const char* const USAGE_SYNTAX =
    "Syntax: ORLIPAN ListFile Title [OutputString] [Options] [> OutputFile]";

struct Report {
    bool shown = false;
    std::string window_class;
    std::string caption;
    std::string text;
    size_t window_count = 0;
    bool ended = false;
    DWORD exit_code = 12345;
    std::string output;
};

// Reads the report box the tool shows, presses its OK button with a real
// click and collects how the tool ended.
Report read_report(const std::string& exe, const std::string& args,
                   const LaunchOptions& options = LaunchOptions()) {
    Report report;
    ToolRun run = start_tool(exe, args, options);
    if (!run.process)
        return report;
    HWND box = wait_for_window(run);
    if (box) {
        report.shown = true;
        report.window_class = window_class(box);
        report.caption = window_caption(box);
        report.text = message_box_text(box);
        report.window_count = tool_windows(run.pid).size();
        HWND ok = child_by_class(box, "Button");
        if (ok)
            click_window_center(ok);
    }
    report.ended = wait_exit(run, EXIT_TIMEOUT_MS, &report.exit_code);
    report.output = output_bytes(run);
    kill_tool(run);
    return report;
}

std::string scratch_with_list(const std::string& name, const std::string& bytes) {
    std::string dir = scratch_dir();
    write_file(dir + "\\" + name, bytes);
    return dir;
}

}  // namespace

TEST(DetachedStart, BothToolsEndWith255AndShowAndWriteNothing) {
    std::string dir = scratch_with_list("colours.txt", "red\r\ngreen\r\n");
    struct Case {
        const char* exe;
        const char* args;
    };
    // Command lines that would open a window if the tool ran its body.
    for (Case c : {Case{"orlipan.exe", "colours.txt Pick \"set c=$item\""},
                   Case{"vemo.exe", "Title Text OK"}, Case{"orlipan.exe", ""}}) {
        SCOPED_TRACE(std::string(c.exe) + " " + c.args);
        LaunchOptions options;
        options.mode = LAUNCH_DETACHED;
        options.working_dir = dir;
        ToolRun run = start_tool(c.exe, c.args, options);
        ASSERT_TRUE(run.process != nullptr);
        size_t windows_seen = 0;
        wait_until(
            [&] {
                windows_seen += tool_windows(run.pid).size();
                return WaitForSingleObject(run.process, 0) == WAIT_OBJECT_0;
            },
            EXIT_TIMEOUT_MS);
        DWORD code = 0;
        ASSERT_TRUE(wait_exit(run, 1000, &code));
        EXPECT_EQ(code, 255u);
        EXPECT_EQ(windows_seen, 0u);
        EXPECT_EQ(output_bytes(run), "");
        kill_tool(run);
    }
}

TEST(ListToolUsage, NoArgumentsShowsUsageAndEndsWithZero) {
    // The usage box must appear however standard output is connected: the
    // console window is found through the console, not through the handle.
    for (LaunchMode mode : {LAUNCH_NEW_CONSOLE, LAUNCH_REDIRECT_FILE, LAUNCH_REDIRECT_PIPE}) {
        SCOPED_TRACE("launch mode " + std::to_string(mode));
        LaunchOptions options;
        options.mode = mode;
        Report report = read_report("orlipan.exe", "", options);
        ASSERT_TRUE(report.shown);
        EXPECT_EQ(report.window_class, "#32770");
        EXPECT_EQ(report.caption, "Orlipan 2.12");
        size_t gap = report.text.find("\r\r");
        ASSERT_NE(gap, std::string::npos) << report.text;
        std::string first_line = report.text.substr(0, gap);
        EXPECT_FALSE(first_line.empty());
        EXPECT_EQ(first_line.find_first_of("\r\n"), std::string::npos);
        EXPECT_EQ(report.text.substr(gap + 2), USAGE_SYNTAX);
        ASSERT_TRUE(report.ended);
        EXPECT_EQ(report.exit_code, 0u);
        EXPECT_EQ(report.output, "");
    }
}

TEST(ListToolUsage, OptionsWithoutPositionalArgumentShowUsage) {
    Report report = read_report("orlipan.exe", "/menu /quote");
    ASSERT_TRUE(report.shown);
    EXPECT_NE(report.text.find(USAGE_SYNTAX), std::string::npos) << report.text;
    ASSERT_TRUE(report.ended);
    EXPECT_EQ(report.exit_code, 0u);
}

TEST(ListToolUsage, HelpArgumentAnywhereShowsOnlyTheHelpAndEndsWithZero) {
    // a.txt exists, so a tool that took the other arguments would open its list.
    std::string dir = scratch_with_list("a.txt", "one\r\ntwo\r\n");
    for (const char* args : {"/?", "a.txt Title \"x=$item\" /? /menu", "/bogus /?"}) {
        SCOPED_TRACE(args);
        LaunchOptions options;
        options.working_dir = dir;
        Report report = read_report("orlipan.exe", args, options);
        ASSERT_TRUE(report.shown);
        EXPECT_EQ(report.caption, "Orlipan 2.12");
        EXPECT_EQ(report.text, pick_help_text());
        EXPECT_EQ(report.text.find(USAGE_SYNTAX), report.text.find("\r\r") + 2);
        EXPECT_EQ(report.window_count, 1u) << "only the help box may be shown";
        ASSERT_TRUE(report.ended);
        EXPECT_EQ(report.exit_code, 0u);
        EXPECT_EQ(report.output, "");
    }
}

TEST(ListToolReports, FirstFaultIsReportedAloneAndEndsWithZero) {
    // a.txt exists, so a tool that went on past the fault would open its list.
    std::string dir = scratch_with_list("a.txt", "one\r\ntwo\r\n");
    struct Case {
        const char* args;
        const char* text;
    };
    for (Case c : {Case{"/quote2", "Invalid Option: /quote2"}, Case{"/", "Invalid Option: /"},
                   Case{"a.txt T out extra", "Invalid argument: extra"},
                   Case{"/bogus", "Invalid Option: /bogus"},
                   Case{"/Bogus a.txt T", "Invalid Option: /Bogus"},
                   Case{"a.txt T /fsx=1 /worse", "Invalid Option: /fsx=1"},
                   Case{"a.txt T /?x", "Invalid Option: /?x"}}) {
        SCOPED_TRACE(c.args);
        LaunchOptions options;
        options.working_dir = dir;
        Report report = read_report("orlipan.exe", c.args, options);
        ASSERT_TRUE(report.shown);
        EXPECT_EQ(report.caption, "Orlipan 2.12");
        EXPECT_EQ(report.text, c.text);
        EXPECT_EQ(report.window_count, 1u) << "only the report box may be shown";
        ASSERT_TRUE(report.ended);
        EXPECT_EQ(report.exit_code, 0u);
        EXPECT_EQ(report.output, "");
    }
}

TEST(Redirection, PickedLineIsWrittenWithoutLineEndingToFileAndPipe) {
    std::string dir = scratch_with_list("colours.txt", "red\r\ngreen\r\n");
    for (LaunchMode mode : {LAUNCH_REDIRECT_FILE, LAUNCH_REDIRECT_PIPE}) {
        SCOPED_TRACE("launch mode " + std::to_string(mode));
        LaunchOptions options;
        options.mode = mode;
        options.working_dir = dir;
        ToolRun run = start_tool("orlipan.exe", "colours.txt Pick \"set c=$item\"", options);
        ASSERT_TRUE(run.process != nullptr);
        HWND window = wait_for_window(run);
        ASSERT_TRUE(window != nullptr);
        ASSERT_TRUE(make_foreground(window));
        press_key(VK_RETURN);
        DWORD code = 0;
        ASSERT_TRUE(wait_exit(run, EXIT_TIMEOUT_MS, &code));
        EXPECT_EQ(code, 1u);
        EXPECT_EQ(output_bytes(run), "set c=red");
        kill_tool(run);
    }
}

TEST(Redirection, MessageToolRunsNormallyAndWritesNothing) {
    LaunchOptions options;
    options.mode = LAUNCH_REDIRECT_PIPE;
    ToolRun run = start_tool("vemo.exe", "Title Text Yes;No", options);
    ASSERT_TRUE(run.process != nullptr);
    HWND window = wait_for_window(run);
    ASSERT_TRUE(window != nullptr);
    EXPECT_EQ(window_caption(window), "Title");
    HWND no = child_by_text(window, "Button", "No");
    ASSERT_TRUE(no != nullptr);
    click_window_center(no);
    DWORD code = 0;
    ASSERT_TRUE(wait_exit(run, EXIT_TIMEOUT_MS, &code));
    EXPECT_EQ(code, 2u);
    EXPECT_EQ(output_bytes(run), "");
    kill_tool(run);
}
