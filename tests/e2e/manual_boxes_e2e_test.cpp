// The manual's blocks that reopen a list on the last pick, ask vemo for a
// text or a button, or only show a window: run as the manual writes them.
#include "tests/e2e/batch_driver.h"
#include "tests/e2e/box_driver.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/manual_blocks.h"
#include "tests/e2e/manual_runs.h"
#include "tests/e2e/pick_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The box takes no input while it settles right after showing: an answer
// that leaves it open is given again, as box_driver's answer() does.
void answer_box(ToolWindow& tool, int number) {
    auto gone = [&] { return WaitForSingleObject(tool.run.process, 0) == WAIT_OBJECT_0; };
    EXPECT_TRUE(give(
        [&] {
            make_foreground(tool.window);
            if (number == 0)
                press_key(VK_ESCAPE);
            else
                click_window_center(button(tool.window, number));
        },
        gone))
        << "the box stayed open";
}

class ManualBoxesTest : public testing::Test {
protected:
    static void SetUpTestSuite() { add_tools_to_path(); }
};

// No number yet: the list starts on its first line, with no invalid option;
// a Cancel keeps the number picked before.
TEST_F(ManualBoxesTest, SelStartsOnTheLastPickOnlyWhenThereIsOne) {
    for (const ManualBlock& block : blocks_of("again")) {
        SCOPED_TRACE(block.where);
        const std::string& variable = block.words.at(1);
        std::string dir = fresh_dir();
        write_file(dir + "\\" + list_name(block), list_bytes(TRICKY_LINES, CP_ACP));
        SetEnvironmentVariableA(variable.c_str(), nullptr);
        BlockOutcome out = run_block(block, variable, dir, "orlipan.exe", [](ToolWindow& tool) {
            EXPECT_TRUE(starts_on(child_by_class(tool.window, "SysListView32"), 0));
            type_keys(tool, {VK_DOWN, VK_RETURN});
        });
        EXPECT_EQ(out.result, variable + "=2\r\n");
        SetEnvironmentVariableA(variable.c_str(), "3");
        out = run_block(block, variable, dir, "orlipan.exe", [](ToolWindow& tool) {
            EXPECT_TRUE(starts_on(child_by_class(tool.window, "SysListView32"), 2));
            type_keys(tool, {VK_ESCAPE});
        });
        SetEnvironmentVariableA(variable.c_str(), nullptr);
        EXPECT_EQ(out.result, variable + "=3\r\n");
        EXPECT_EQ(out.errors, "");
    }
}

// Whether this cmd.exe's set /p reads a file without a line end whole, as
// Windows' does; Wine 8's drops its last character.
bool set_p_reads_a_whole_line() {
    std::string dir = fresh_dir();
    write_file(dir + "\\answer.txt", ";a b");
    return probe_cmd("set /p v=< answer.txt\r\nset v>\"%MANUAL_RESULT%\"", dir) == "v=;a b\r\n";
}

TEST_F(ManualBoxesTest, TypedAnswerReadsEveryTextAndCancelWithTextIsNoAnswer) {
    std::vector<std::string> skipped;
    bool whole = set_p_reads_a_whole_line();
    for (const ManualBlock& block : blocks_of("input")) {
        SCOPED_TRACE(block.where);
        const std::string& variable = block.words.at(1);
        UINT console = console_code_page(block);
        std::string dir = fresh_dir();
        auto answer_with = [&](const std::string& text, int number) {
            return run_block(block, variable, dir, "vemo.exe", [&](ToolWindow& tool) {
                HWND field = child_by_class(tool.window, "Edit");
                ASSERT_TRUE(field);
                SendMessageW(field, WM_SETTEXT, 0, (LPARAM)wide_of_utf8(text).c_str());
                answer_box(tool, number);
            });
        };
        if (!whole) {
            skipped.push_back(
                "this cmd.exe's set /p drops the last character of a file "
                "without a line end, so typed texts are not compared");
        } else {
            for (const std::string& text : usable(TRICKY_LINES, console, console, skipped)) {
                BlockOutcome out = answer_with(text, 1);
                EXPECT_EQ(out.result, expected_set(variable, text, console)) << text;
                EXPECT_EQ(out.errors, "") << text;
            }
        }
        EXPECT_EQ(answer_with("typed & then cancelled", 2).result, "[cancelled]\r\n");
        EXPECT_EQ(answer_with("typed & then escaped", 0).result, "[cancelled]\r\n");
    }
    skip_with(skipped);
}

// "buttons ESCAPE B1 B2 ...": the label each button leads to ("-": none).
TEST_F(ManualBoxesTest, EveryButtonLeadsWhereTheManualSays) {
    for (const ManualBlock& block : blocks_of("buttons")) {
        SCOPED_TRACE(block.where);
        std::string dir = fresh_dir();
        for (size_t number = 0; number + 1 < block.words.size(); ++number) {
            BlockOutcome out = run_block(block, "", dir, "vemo.exe",
                                         [&](ToolWindow& tool) { answer_box(tool, (int)number); });
            const std::string& label = block.words[number + 1];
            EXPECT_EQ(out.result, label == "-" ? "" : "[" + label + "]\r\n") << "button " << number;
            EXPECT_EQ(out.errors, "");
        }
    }
}

// Blocks that only show a window, with the example lists they name.
TEST_F(ManualBoxesTest, ShownCommandsOpenTheirWindow) {
    for (const ManualBlock& block : blocks_of("show")) {
        SCOPED_TRACE(block.where);
        std::string dir = fresh_dir();
        for (const char* list : {"colours_utf8.txt", "planets.txt", "colours.txt"})
            write_file(dir + "\\" + list, read_file(examples_dir() + "\\" + list));
        BlockOutcome out = run_block(block, "", dir, "orlipan.exe",
                                     [](ToolWindow& tool) { type_keys(tool, {VK_ESCAPE}); });
        EXPECT_EQ(out.errors, "");
    }
}

}  // namespace
