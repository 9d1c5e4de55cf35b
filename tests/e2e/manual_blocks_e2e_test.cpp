// The manual's batch code, read out of README.md and docs/*.md as it stands
// now, run through cmd.exe against lists of lines that a batch file can take
// for code, with real keys and clicks; what each block then holds is
// compared byte for byte with the line that was picked or typed.
#include "tests/e2e/batch_driver.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/manual_blocks.h"
#include "tests/e2e/manual_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> KNOWN_KINDS = {"pick",  "copy",  "query",   "auto",
                                              "again", "input", "buttons", "show"};

class ManualBlocksTest : public testing::Test {
protected:
    static void SetUpTestSuite() { add_tools_to_path(); }
};

TEST_F(ManualBlocksTest, EveryBlockSaysHowItIsRun) {
    std::vector<ManualBlock> blocks = manual_blocks();
    ASSERT_GE(blocks.size(), 10u) << "the manual's pages were not found in " << manual_dir();
    for (const ManualBlock& block : blocks) {
        ASSERT_FALSE(block.words.empty())
            << block.where << ": a bat block without a test line (docs/maintaining.md)";
        EXPECT_NE(std::find(KNOWN_KINDS.begin(), KNOWN_KINDS.end(), block.words[0]),
                  KNOWN_KINDS.end())
            << block.where << ": unknown kind " << block.words[0];
    }
}

TEST_F(ManualBlocksTest, OneAnswerReadsEveryLineExactly) {
    std::vector<std::string> skipped;
    for (const ManualBlock& block : blocks_of("pick")) {
        SCOPED_TRACE(block.where);
        ASSERT_EQ(block.words.size(), 2u);
        const std::string& variable = block.words[1];
        UINT console = console_code_page(block);
        std::string name = list_name(block);
        if (name.empty()) {
            std::vector<std::string> names =
                usable(TRICKY_NAMES, list_code_page(block), console, skipped);
            std::string dir = folder_of(names);
            for (const std::string& file : names) {
                BlockOutcome out =
                    run_block(block, variable, dir, "orlipan.exe",
                              [&](ToolWindow& tool) { pick_row(tool, row_of(tool, file)); });
                EXPECT_EQ(out.result, expected_set(variable, file, console)) << file;
                if (errors_tell(file, skipped)) {
                    EXPECT_EQ(out.errors, "") << file;
                }
            }
            expect_cancel_goes_to_cancelled(block, variable, dir);
            continue;
        }
        std::vector<std::string> lines =
            usable(TRICKY_LINES, list_code_page(block), console, skipped);
        std::string dir = fresh_dir();
        write_file(dir + "\\" + name, list_bytes(lines, list_code_page(block)));
        for (size_t row = 0; row < lines.size(); ++row) {
            BlockOutcome out = run_block(block, variable, dir, "orlipan.exe",
                                         [&](ToolWindow& tool) { pick_row(tool, (int)row); });
            EXPECT_EQ(out.result, expected_set(variable, lines[row], console)) << lines[row];
            if (errors_tell(lines[row], skipped)) {
                EXPECT_EQ(out.errors, "") << lines[row];
            }
        }
        expect_cancel_goes_to_cancelled(block, variable, dir);

        // Line 300 answers exit code 255 and still reads as a line.
        std::vector<std::string> long_list;
        for (int i = 1; i < 300; ++i)
            long_list.push_back("line " + std::to_string(i));
        long_list.push_back(";300 & 100% \"last\"");
        write_file(dir + "\\" + name, list_bytes(long_list, list_code_page(block)));
        BlockOutcome out = run_block(block, variable, dir, "orlipan.exe", [](ToolWindow& tool) {
            type_keys(tool, {VK_END, VK_RETURN});
        });
        EXPECT_EQ(out.result, expected_set(variable, long_list.back(), console));
    }
    skip_with(skipped);
}

TEST_F(ManualBlocksTest, SeveralAnswersCopyEveryChosenFile) {
    std::vector<std::string> skipped;
    for (const ManualBlock& block : blocks_of("copy")) {
        SCOPED_TRACE(block.where);
        std::vector<std::string> names =
            usable(TRICKY_NAMES, list_code_page(block), console_code_page(block), skipped);
        std::string dir = folder_of(names);
        std::string name = list_name(block);
        if (!name.empty())
            write_file(dir + "\\" + name, list_bytes(names, list_code_page(block)));
        // The block copies into %USERPROFILE%\backup: a profile of its own.
        std::string home = fresh_dir();
        char profile[MAX_PATH] = "";
        GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH);
        SetEnvironmentVariableA("USERPROFILE", home.c_str());
        BlockOutcome out = run_block(block, "", dir, "orlipan.exe", [&](ToolWindow& tool) {
            ASSERT_TRUE(make_foreground(tool.window));
            press_key('A', false, true);
            press_key(VK_RETURN);
        });
        EXPECT_EQ(out.errors, "");
        for (const std::string& file : names) {
            if (file == name)
                continue;
            std::string copy = home + "\\backup\\" + file;
            HANDLE handle = CreateFileW(wide_of_utf8(copy).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
            EXPECT_NE(handle, INVALID_HANDLE_VALUE) << "not copied: " << file;
            char bytes[256] = "";
            DWORD read = 0;
            ReadFile(handle, bytes, sizeof bytes, &read, nullptr);
            CloseHandle(handle);
            EXPECT_EQ(std::string(bytes, read), "file " + file + "\r\n");
        }
        expect_cancel_goes_to_cancelled(block, "", dir);
        SetEnvironmentVariableA("USERPROFILE", profile);
    }
    skip_with(skipped);
}

// "van Dam" in quotes reaches the query as one text; a word found in one
// line only answers that line.
TEST_F(ManualBlocksTest, QueryPassedOnWithTildeOneAnswersTheLineItNarrowsTo) {
    std::vector<std::string> skipped;
    for (const ManualBlock& block : blocks_of("query")) {
        SCOPED_TRACE(block.where);
        const std::string& variable = block.words.at(1);
        UINT console = console_code_page(block);
        std::vector<std::string> lines =
            usable(TRICKY_LINES, list_code_page(block), console, skipped);
        lines.push_back("Jan van Dam");
        std::string dir = fresh_dir();
        write_file(dir + "\\" + list_name(block), list_bytes(lines, list_code_page(block)));
        for (const char* query : {"\"van Dam\"", "hi"}) {
            BlockOutcome out = run_block(
                block, variable, dir, "orlipan.exe",
                [](ToolWindow& tool) { type_keys(tool, {VK_RETURN}); }, query);
            std::string line = query[0] == '"' ? "Jan van Dam" : "say \"hi\" & bye";
            EXPECT_EQ(out.result, expected_set(variable, line, console)) << query;
            EXPECT_EQ(out.errors, "");
        }
    }
    skip_with(skipped);
}

TEST_F(ManualBlocksTest, AutoAnswersASingleMatchAndCancelsOnNone) {
    for (const ManualBlock& block : blocks_of("auto")) {
        SCOPED_TRACE(block.where);
        const std::string& variable = block.words.at(1);
        std::string dir = folder_of({"Jan van Dam.txt", "salt & pepper.txt", "100% sure.txt"});
        BatchRun batch = start_block(block, variable, dir, "\"van Dam\"");
        BlockOutcome out = finish_block(batch);
        EXPECT_EQ(out.result, variable + "=Jan van Dam.txt\r\n");
        EXPECT_EQ(out.errors, "");
        BatchRun none = start_block(block, variable, dir, "\"no such & file\"");
        out = finish_block(none);
        EXPECT_EQ(out.result, "[cancelled]\r\n");
        EXPECT_TRUE(none.seen_tools.empty());
    }
}

}  // namespace
