// Any command line: the count and the arguments fetched one by one agree, and
// every argument is a piece of the line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "frame/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    int count = count_arguments_in(line);
    if (count < -1 || count > static_cast<int>(line.size())) {
        abort();
    }
    if ((count == -1) != (line.find_first_not_of(' ') == std::string::npos)) {
        abort();
    }
    std::string argument;
    for (int i = 0; i < count; ++i) {
        if (!argument_at(line, i, &argument) || line.find(argument) == std::string::npos) {
            abort();
        }
        // Only a quoted argument can hold a space.
        if (argument.find(' ') != std::string::npos && line.find('"') == std::string::npos) {
            abort();
        }
    }
    if (argument_at(line, count < 0 ? 0 : count, &argument) || !argument.empty()) {
        abort();
    }
    return 0;
}
