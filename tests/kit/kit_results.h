// What the test kit's runner makes of its test programs: which programs a
// folder holds, the counts a GoogleTest program prints at its end, and the
// totals and closing line of the whole run. Pure: the runner passes in the
// file names and the bytes the programs wrote.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
    int passed = 0;
    int failed = 0;
    int skipped = 0;
    // The program's own closing counts were found in its output.
    bool counted = false;
};

struct KitTotals {
    int passed = 0;
    int failed = 0;
    int skipped = 0;
    int programs = 0;
    int failed_programs = 0;
};

// The test programs among the file names of a folder: every "*_tests.exe"
// (in-process tests) and then every "*_e2e.exe", each group by name, compared
// without regard to case as Windows file names are.
std::vector<std::string> pick_test_programs(const std::vector<std::string>& file_names);

// A program named on the command line, with ".exe" added when it has none.
std::string program_file_name(const std::string& name);

// Reads the last closing counts of GoogleTest's output ("[==========] N tests
// from ... ran.", "[  PASSED  ] N tests.", "[  SKIPPED ] N tests.").
ProgramResult read_test_output(const std::string& output);

// A program that ended with a failing exit code, was stopped after its time
// or printed no counts has failed, whatever its counts say: it counts as at
// least one failure.
ProgramResult judge_program(ProgramResult result, unsigned long exit_code, bool timed_out);

void add_program(KitTotals& totals, const ProgramResult& result);

// True only when every program passed and at least one test passed.
bool kit_passed(const KitTotals& totals);

// "N passed, N failed" with ", N skipped" when any were skipped.
std::string count_text(int passed, int failed, int skipped);
std::string closing_line(const KitTotals& totals);
