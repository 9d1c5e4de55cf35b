#include "tests/kit/kit_results.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

// The closing lines of a brief GoogleTest run, as a Windows program writes them.
const char PASSING_RUN[] =
    "Running main() from gtest_main.cc\r\n"
    "[==========] 12 tests from 3 test suites ran. (1520 ms total)\r\n"
    "[  PASSED  ] 12 tests.\r\n";

const char MIXED_RUN[] =
    "C:\\kit\\x.cpp(40): error: Expected equality of these values:\r\n"
    "[  FAILED  ] Pick.Accept (310 ms)\r\n"
    "C:\\kit\\y.cpp(12): Skipped\r\n"
    "accented letters checked on code page 1252 only\r\n"
    "[==========] 10 tests from 2 test suites ran. (900 ms total)\r\n"
    "[  PASSED  ] 7 tests.\r\n"
    "[  SKIPPED ] 1 test.\r\n";

}  // namespace

TEST(KitPrograms, UnitProgramsComeBeforeEndToEndOnesEachByNameAndOthersAreLeftOut) {
    Names files = {"vemo_e2e.exe",  "run-tests.cmd",       "orlipan.exe",     "Toolkit_Tests.EXE",
                   "frame_e2e.exe", "frame_tests.exe",     "test_runner.exe", "runner_selftest.exe",
                   "e2e.exe",       "frame_tests.exe.txt", "_tests.exe"};
    EXPECT_EQ(pick_test_programs(files),
              (Names{"frame_tests.exe", "Toolkit_Tests.EXE", "frame_e2e.exe", "vemo_e2e.exe"}));
    EXPECT_EQ(pick_test_programs({}), Names{});
}

TEST(KitPrograms, NamesFromTheCommandLineGetTheirExtension) {
    EXPECT_EQ(program_file_name("orlipan_e2e"), "orlipan_e2e.exe");
    EXPECT_EQ(program_file_name("orlipan_e2e.EXE"), "orlipan_e2e.EXE");
}

TEST(KitOutput, CountsComeFromTheClosingLines) {
    ProgramResult passing = read_test_output(PASSING_RUN);
    EXPECT_TRUE(passing.counted);
    EXPECT_EQ(passing.passed, 12);
    EXPECT_EQ(passing.failed, 0);
    EXPECT_EQ(passing.skipped, 0);

    ProgramResult mixed = read_test_output(MIXED_RUN);
    EXPECT_TRUE(mixed.counted);
    EXPECT_EQ(mixed.passed, 7);
    EXPECT_EQ(mixed.skipped, 1);
    EXPECT_EQ(mixed.failed, 2);
}

TEST(KitOutput, OnlyAWholeClosingBlockCounts) {
    // Cut off before the PASSED line, as when a program dies while closing.
    EXPECT_FALSE(read_test_output("[==========] 3 tests from 1 test suite ran.\n").counted);
    // The opening line of a verbose run is not a closing line.
    EXPECT_FALSE(read_test_output("[==========] Running 3 tests from 1 test suite.\n"
                                  "[  PASSED  ] 3 tests.\n")
                     .counted);
    EXPECT_FALSE(read_test_output("").counted);
    // Counts that cannot be are not believed.
    EXPECT_FALSE(read_test_output("[==========] 2 tests from 1 test suite ran.\n"
                                  "[  PASSED  ] 5 tests.\n")
                     .counted);
    // A test that prints another run's summary is overruled by the program's own.
    ProgramResult last = read_test_output(std::string(PASSING_RUN) + MIXED_RUN);
    EXPECT_EQ(last.passed, 7);
    EXPECT_EQ(last.failed, 2);
}

TEST(KitJudging, ABadEndCountsAsAFailureEvenWithGoodCounts) {
    ProgramResult passing = read_test_output(PASSING_RUN);
    EXPECT_EQ(judge_program(passing, 0, false).failed, 0);
    EXPECT_EQ(judge_program(passing, 1, false).failed, 1);
    EXPECT_EQ(judge_program(passing, 0, true).failed, 1);
    // A crash: no counts and a status code for an exit code.
    ProgramResult crashed = judge_program(read_test_output("Running main()\n"), 0xC0000005, false);
    EXPECT_EQ(crashed.failed, 1);
    EXPECT_EQ(crashed.passed, 0);
    // Known failures are not counted twice.
    EXPECT_EQ(judge_program(read_test_output(MIXED_RUN), 1, false).failed, 2);
}

TEST(KitTotals, PassOnlyWithoutFailuresAndWithSomethingPassed) {
    KitTotals totals;
    EXPECT_FALSE(kit_passed(totals));
    EXPECT_EQ(closing_line(totals), "0 passed, 0 failed");
    add_program(totals, judge_program(read_test_output(PASSING_RUN), 0, false));
    EXPECT_TRUE(kit_passed(totals));
    add_program(totals, judge_program(read_test_output(MIXED_RUN), 1, false));
    EXPECT_FALSE(kit_passed(totals));
    EXPECT_EQ(totals.programs, 2);
    EXPECT_EQ(totals.failed_programs, 1);
    EXPECT_EQ(closing_line(totals), "19 passed, 2 failed, 1 skipped");
}
