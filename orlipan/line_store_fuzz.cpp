// Reads the input into a line store through sources of varying read sizes;
// the lines must be those of the whole input split at once.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "orlipan/line_store_testing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    size_t piece = data[0] % 16 + 1;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    LinesResult result = LINES_TOO_LARGE;
    std::vector<std::string> lines = store_lines(pieces_of(bytes, piece), &result);
    if (result != LINES_OK || lines != split_whole(bytes))
        std::abort();
    return 0;
}
