// Reads the input into a line store through sources of varying read sizes;
// the lines must be those the list reader finds.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "orlipan/line_store.h"

namespace {

ByteSource pieces_of(const std::string& bytes, size_t piece, size_t* offset) {
    return [&bytes, piece, offset](char* buffer, int capacity) {
        size_t n = std::min({bytes.size() - *offset, piece, (size_t)capacity});
        std::copy_n(bytes.data() + *offset, n, buffer);
        *offset += n;
        return (int)n;
    };
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    size_t piece = data[0] % 16 + 1;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    size_t offset = 0;
    ListReader reader = make_list_reader(pieces_of(bytes, 4096, &offset));
    std::vector<std::string> expected;
    while (!list_at_end(&reader))
        expected.push_back(read_list_line(&reader));

    size_t store_offset = 0;
    LineStore store;
    if (read_all_lines(&store, pieces_of(bytes, piece, &store_offset)) != LINES_OK)
        std::abort();
    if (line_count(store) != (int)expected.size())
        std::abort();
    for (int i = 0; i < line_count(store); ++i) {
        if (expected[i] != line_at(store, i))
            std::abort();
    }
    free_lines(&store);
    return 0;
}
