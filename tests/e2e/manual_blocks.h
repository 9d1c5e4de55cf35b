// The manual's batch code as it stands in README.md and docs/*.md: every
// ```bat block, with the test line before it that says how it is driven,
// turned into a batch file that runs it and writes down what it left.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/batch_driver.h"

struct ManualBlock {
    std::string where;               // page and line of the block's first line
    std::vector<std::string> words;  // of "<!-- test: WORDS -->"; empty: no test line
    std::string code;                // the block's lines, indentation taken off, LF-separated
};

// The pages, packed beside the test programs in manual\ (README.md,
// docs\*.md), as the kit and the cross build both lay them out.
std::string manual_dir();
std::vector<ManualBlock> manual_blocks();
// The blocks whose test line starts with `kind`.
std::vector<ManualBlock> blocks_of(const std::string& kind);

// The block followed by one label for every "goto" target it does not
// define, each writing "[label]" to %MANUAL_RESULT%; a block that runs to its
// end writes "set VARIABLE" there instead (nothing for an empty variable).
std::string block_script(const ManualBlock& block, const std::string& variable);

struct BlockOutcome {
    std::string result;  // what the block left in %MANUAL_RESULT%
    std::string errors;  // what cmd.exe wrote to standard error
    bool ended = false;
};

// Runs the block with cmd.exe in a console of its own, in `dir`, with `args`
// as the batch file's arguments; the tools are found on PATH.
BatchRun start_block(const ManualBlock& block, const std::string& variable, const std::string& dir,
                     const std::string& args = "");
BlockOutcome finish_block(BatchRun& batch);

// A batch line run in a console of its own, for what this cmd.exe can do:
// the bytes that `probe` left in %MANUAL_RESULT%.
std::string probe_cmd(const std::string& probe, const std::string& dir);

// Text of the manual's encoding (UTF-8) in a code page; `exact` is cleared
// when the code page lacks a character of it.
std::string in_code_page(const std::string& utf8, UINT code_page, bool* exact = nullptr);
