// Any text: the number reading never faults, keeps its low 32 bits consistently,
// ignores leading blanks, honours a sign and reads its own decimal output back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "frame/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    int64_t value = parse_value(text);
    if (parse_value32(text) != static_cast<int32_t>(static_cast<uint32_t>(value))) {
        abort();
    }
    if (parse_value(" \t" + text) != value) {
        abort();
    }
    bool starts_plain = !text.empty() && text.find_first_of(" \t+-") != 0;
    if (starts_plain &&
        parse_value("-" + text) != static_cast<int64_t>(0 - static_cast<uint64_t>(value))) {
        abort();
    }
    if (parse_value(number_to_text(value)) != value) {
        abort();
    }
    return 0;
}
