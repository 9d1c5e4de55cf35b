#include <windows.h>

#include "frame/command_line.h"
#include "frame/utf8.h"

namespace {

ArgumentState argument_state;

// Read afresh on every call: nothing keeps a split copy of the command line.
// The wide line holds every character as typed, where the ANSI one would turn
// those its code page lacks into "?"; every marker the scanner looks for is
// ASCII, so it splits the UTF-8 bytes as they are.
std::string process_command_line() {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");
    const wchar_t* line = GetCommandLineW();
    if (!line)
        return std::string();
    return utf8_from_utf16(reinterpret_cast<const char16_t*>(line), wcslen(line));
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
