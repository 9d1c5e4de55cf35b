// Splitting of the raw command line. The space is the only separator; a double
// quote opens a quoted argument only as the first character of an argument;
// there are no escapes. The first token (the program name) is never returned.
#pragma once

#include <string>
#include <vector>

// Pure scanner over a given command-line text.
// Number of arguments after the program name; -1 for an entirely empty line.
int count_arguments_in(const std::string& command_line);
// Argument number `index` (0-based); false when there is none.
bool argument_at(const std::string& command_line, int index, std::string* argument);

// The process's own command line (GetCommandLineW), read afresh by every call;
// the arguments come as UTF-8.
struct ArgumentState {
    int next_argument_index = 0;
};
void prepare_arguments();
int count_arguments();
std::string next_argument();
// count_arguments once, then next_argument once per argument, in order.
std::vector<std::string> read_all_arguments();
