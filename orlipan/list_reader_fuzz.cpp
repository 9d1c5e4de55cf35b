// Reads the input as a list file through sources of varying read sizes; the
// lines must join back, with their terminators, into the input.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "orlipan/list_reader.h"

namespace {

std::vector<std::string> read_lines(const std::string& bytes, size_t piece) {
    size_t offset = 0;
    ListReader reader = make_list_reader([&](char* buffer, int capacity) {
        size_t n = std::min({bytes.size() - offset, piece, (size_t)capacity});
        std::copy_n(bytes.data() + offset, n, buffer);
        offset += n;
        return (int)n;
    });
    std::vector<std::string> lines;
    while (!list_at_end(&reader))
        lines.push_back(read_list_line(&reader));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    size_t piece = 1 + data[0] % 7;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> lines = read_lines(bytes, piece);
    if (lines != read_lines(bytes, LIST_READ_BUFFER_SIZE))
        abort();
    // Removing the terminators from the input must give the lines in order.
    size_t at = 0;
    for (const std::string& line : lines) {
        if (bytes.compare(at, line.size(), line) != 0)
            abort();
        at += line.size();
        if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            abort();
        if (at < bytes.size()) {
            char c = bytes[at++];
            if (c == '\r' && at < bytes.size() && bytes[at] == '\n')
                ++at;
            else if (c != '\r' && c != '\n' && c != '\0')
                abort();
        }
    }
    if (at != bytes.size())
        abort();
    return 0;
}
