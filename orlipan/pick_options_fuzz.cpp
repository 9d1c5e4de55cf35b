// Splits the input at zero bytes into arguments and parses them as a command
// line; the settings must come out consistent whatever the bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "orlipan/pick_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back().push_back((char)data[i]);
        }
    }
    PickSettings s = parse_pick_arguments(arguments, [](const std::string& p) { return p; });
    if (s.message.empty()) {
        if (s.positional_count < 1 || s.positional_count > 3)
            abort();
        if (s.font_size == 0 || s.back_color == 0)
            abort();
        if ((s.back_color | s.text_color) > 0xFFFFFFu)
            abort();
        if ((s.flags & ~(0x1DFu | PICK_FLAG_UTF8 | PICK_FLAG_AUTO | PICK_FLAG_TAB)) != 0)
            abort();
        if ((s.flags & PICK_FLAG_MULTI) && (s.flags & PICK_FLAG_MENU))
            abort();
        if ((s.flags & PICK_FLAG_TAB) && (s.flags & PICK_FLAG_MENU))
            abort();
        if ((s.flags & PICK_FLAG_UTF8) && (s.flags & (PICK_FLAG_OEMLIST | PICK_FLAG_OEMOUT)))
            abort();
        if (!s.query.empty() && !(s.flags & PICK_FLAG_FILTER))
            abort();
        if (s.header_lines < 0 || s.header_lines > PICK_HEADER_LIMIT)
            abort();
        // A start given by numbers names lines 1 and up, a text is never empty.
        for (int n : s.start.numbers) {
            if (n < 1)
                abort();
        }
        if (s.start.given && s.start.numbers.empty() == s.start.text.empty())
            abort();
        if (s.start.numbers.size() > 1 && !(s.flags & PICK_FLAG_MULTI))
            abort();
        // Whatever the list, the start names only lines within it.
        for (int count : {0, 1, 7}) {
            for (int line : start_lines(s.start, count, [](int) { return true; })) {
                if (line < 0 || line >= count)
                    abort();
            }
        }
    }
    return 0;
}
