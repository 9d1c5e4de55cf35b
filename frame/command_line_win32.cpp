#include <windows.h>

#include "frame/command_line.h"

namespace {

ArgumentState argument_state;

// Read afresh on every call: nothing keeps a split copy of the command line.
std::string process_command_line() {
    const char* line = GetCommandLineA();
    return line ? std::string(line) : std::string();
}

}  // namespace

void prepare_arguments() {
    argument_state = ArgumentState();
}

int count_arguments() {
    return count_arguments_in(process_command_line());
}

std::string next_argument() {
    std::string argument;
    if (argument_at(process_command_line(), argument_state.next_argument_index, &argument)) {
        ++argument_state.next_argument_index;
    }
    return argument;
}

std::vector<std::string> read_all_arguments() {
    std::vector<std::string> arguments;
    int count = count_arguments();
    for (int i = 0; i < count; ++i) {
        arguments.push_back(next_argument());
    }
    return arguments;
}
