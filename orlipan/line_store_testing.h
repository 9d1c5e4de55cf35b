// For the line store's tests and fuzzers: a source that serves a string in
// pieces as a pipe would, and the line rules stated plainly over the whole
// string at once, which the store, reading block by block, must agree with.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "orlipan/line_store.h"

// Serves `bytes` in pieces of at most `piece` bytes; copies of the source
// share one position.
inline ByteSource pieces_of(const std::string& bytes, size_t piece) {
    auto offset = std::make_shared<size_t>(0);
    return [bytes, piece, offset](char* buffer, int capacity) {
        size_t n = std::min({bytes.size() - *offset, piece, static_cast<size_t>(capacity)});
        std::copy_n(bytes.data() + *offset, n, buffer);
        *offset += n;
        return static_cast<int>(n);
    };
}

inline std::vector<std::string> split_whole(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c != '\r' && c != '\n' && c != '\0')
            continue;
        lines.push_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

// The lines a store holds after reading `source` to its end.
inline std::vector<std::string> store_lines(const ByteSource& source,
                                            LinesResult* result = nullptr) {
    LineStore store;
    LinesResult got = read_all_lines(&store, source);
    if (result)
        *result = got;
    std::vector<std::string> lines;
    for (int i = 0; i < line_count(store); ++i)
        lines.push_back(line_at(store, i));
    free_lines(&store);
    return lines;
}
