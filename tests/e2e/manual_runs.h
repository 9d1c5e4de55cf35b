// Running the manual's blocks: the lines and file names they are tried on,
// the lists and folders made of them in the code pages a block asks for,
// and a run of a block whose tool window a test answers.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/batch_driver.h"
#include "tests/e2e/manual_blocks.h"

// Lines that a batch file can take for code, as the manual names them.
extern const std::vector<std::string> TRICKY_LINES;
// The same kinds of lines as file names: no "|", no "\"", no "<" or ">".
extern const std::vector<std::string> TRICKY_NAMES;

bool holds(const std::string& text, const std::string& part);
// The code page the block's list is read in, and the one cmd.exe reads its
// answer in.
UINT list_code_page(const ManualBlock& block);
UINT console_code_page(const ManualBlock& block);
// The lines of `all` that both code pages hold exactly; letters beyond
// ASCII only where this cmd.exe reads them as Windows does, else the skip
// is noted in `skipped` with its reason.
std::vector<std::string> usable(const std::vector<std::string>& all, UINT list_page,
                                UINT answer_page, std::vector<std::string>& skipped);
// Whether what cmd.exe reports on standard error tells anything after a run
// on `line`: not where this cmd.exe reads a "!" of a value put in with
// !name! again (the skip is noted).
bool errors_tell(const std::string& line, std::vector<std::string>& skipped);
void skip_with(const std::vector<std::string>& skipped);
std::string list_bytes(const std::vector<std::string>& lines, UINT code_page);
// The list file the block names (orlipan NAME), or "" for a list from a pipe.
std::string list_name(const ManualBlock& block);
void write_named(const std::string& dir, const std::string& utf8_name, const std::string& bytes);
// A folder holding one file per name, each holding "file NAME" and CR LF.
std::string folder_of(const std::vector<std::string>& names);
// What "set VARIABLE" writes for `value`: nothing for an empty one.
std::string expected_set(const std::string& variable, const std::string& value, UINT code_page);
// Moves the selection to `row` and accepts it with Enter.
void pick_row(ToolWindow& tool, int row);
// The row showing `utf8`, or -1.
int row_of(ToolWindow& tool, const std::string& utf8);
// What a block holds after a run in which `act` answered its tool's window.
BlockOutcome run_block(const ManualBlock& block, const std::string& variable,
                       const std::string& dir, const char* tool_exe,
                       const std::function<void(ToolWindow&)>& act, const std::string& args = "");
void expect_cancel_goes_to_cancelled(const ManualBlock& block, const std::string& variable,
                                     const std::string& dir);
