// What the tools do when a run fails: the test builds orlipan_faults.exe and
// vemo_faults.exe raise a fault on purpose where TOOL_FAULT names it (see
// frame/fault_point.h). A sort without memory leaves the list as it was and
// the pick goes on; any other failure shows its reason, writes no answer and
// ends with 255, which no answer has.
#include "tests/e2e/box_driver.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

const char MEMORY_REASON[] = "Not enough memory. Nothing was answered.";
const char INTERNAL_REASON[] = "An internal error stopped the program. Nothing was answered.";

// The fault for the tools this test starts (they inherit the environment).
struct ScopedFault {
    explicit ScopedFault(const char* fault) { SetEnvironmentVariableA("TOOL_FAULT", fault); }
    ~ScopedFault() { SetEnvironmentVariableA("TOOL_FAULT", nullptr); }
};

Pick start_faulty_pick(const Lines& lines, const std::string& args) {
    Pick pick;
    pick.dir = scratch_dir();
    write_file(pick.dir + "\\list.txt", lines_text(lines));
    LaunchOptions options;
    options.working_dir = pick.dir;
    pick.run = start_tool("orlipan_faults.exe", "list.txt " + args, options);
    pick.guard = end_when_dropped(pick.run.process);
    find_pick_window(pick);
    return pick;
}

// The system message box the tool shows now, found among its windows; 0 if none.
HWND shown_message_box(ToolRun& run) {
    for (HWND window : tool_windows(run.pid)) {
        if (window_class(window) == "#32770")
            return window;
    }
    return nullptr;
}

HWND message_box_of(ToolRun& run) {
    HWND found = nullptr;
    wait_until([&] { return (found = shown_message_box(run)) != nullptr; }, 10000);
    return found;
}

// Reads the box, presses its OK and waits until it is gone.
std::string dismiss(HWND box) {
    if (!box)
        return "no message box";
    std::string text = message_box_text(box);
    EXPECT_TRUE(make_foreground(box));
    press_key(VK_RETURN);
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(box); }));
    return text;
}

}  // namespace

TEST(Failures, ASortWithoutMemoryLeavesTheListAndThePickStillAnswers) {
    ScopedFault fault("sort:memory");
    Pick pick = start_faulty_pick({"Name\tSize", "beta\t20", "alpha\t100", "gamma\t3"},
                                  "T $item /tab /header=1");
    ASSERT_TRUE(pick.window);
    const Lines names = {"beta", "alpha", "gamma"};
    ASSERT_EQ(shown_column(pick, 0), names);
    click_title(pick, 0);
    EXPECT_EQ(dismiss(message_box_of(pick.run)),
              "Not enough memory to sort the list. The list keeps its order; you can go on "
              "picking.");
    EXPECT_EQ(shown_column(pick, 0), names);
    EXPECT_TRUE(still_open(pick));
    press_in(pick, VK_DOWN);
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == 1; }));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 3u);  // line 3 of the file: the header counts
    EXPECT_EQ(end.output, "alpha\t100");
}

TEST(Failures, AFailedPickEndsWith255AndNoAnswerWhateverTheFailure) {
    struct Case {
        const char* fault;
        const char* reason;
    };
    for (const Case& c :
         {Case{"answer:memory", MEMORY_REASON}, Case{"answer:error", INTERNAL_REASON},
          Case{"answer:abort", INTERNAL_REASON}}) {
        SCOPED_TRACE(c.fault);
        ScopedFault fault(c.fault);
        Pick pick = start_faulty_pick({"one", "two"}, "T \"picked $item\"");
        ASSERT_TRUE(pick.window);
        press_in(pick, VK_RETURN);
        EXPECT_EQ(dismiss(message_box_of(pick.run)), c.reason);
        Ending end = finish(pick);
        EXPECT_TRUE(end.ended);
        EXPECT_EQ(end.exit_code, 255u);
        EXPECT_EQ(end.output, "");
    }
}

TEST(Failures, AFailedBoxEndsWith255AndNoTypedAnswer) {
    for (const char* kind : {"answer:error", "answer:abort"}) {
        SCOPED_TRACE(kind);
        ScopedFault fault(kind);
        ToolRun run = start_tool("vemo_faults.exe", "T Name? OK;Later /IN=typed");
        std::shared_ptr<void> guard = end_when_dropped(run.process);
        HWND box = wait_for_window(run);
        ASSERT_TRUE(box);
        // Enter that reaches the box while it settles after showing is
        // dispatched without an answer (see box_driver.h): it is given again.
        EXPECT_TRUE(give(
            [&] {
                if (!shown_message_box(run) && make_foreground(box))
                    press_key(VK_RETURN);
            },
            [&] { return shown_message_box(run) != nullptr; }));
        EXPECT_EQ(dismiss(message_box_of(run)), INTERNAL_REASON);
        DWORD code = 12345;
        EXPECT_TRUE(wait_exit(run, EXIT_TIMEOUT_MS, &code));
        EXPECT_EQ(code, 255u);
        EXPECT_EQ(output_bytes(run), "");
        kill_tool(run);
    }
}
