#include "orlipan/utf8_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "orlipan/line_store.h"

namespace {

// The lines of `bytes` read through the mark skip in pieces of `piece` bytes.
std::vector<std::string> utf8_lines(const std::string& bytes, size_t piece) {
    size_t offset = 0;
    ByteSource source = without_utf8_bom([&](char* buffer, int capacity) {
        size_t n = std::min({bytes.size() - offset, piece, static_cast<size_t>(capacity)});
        std::copy_n(bytes.data() + offset, n, buffer);
        offset += n;
        return static_cast<int>(n);
    });
    LineStore store;
    read_all_lines(&store, source);
    std::vector<std::string> lines;
    for (int i = 0; i < line_count(store); ++i)
        lines.push_back(line_at(store, i));
    free_lines(&store);
    return lines;
}

using Lines = std::vector<std::string>;
const std::string MARK = "\xEF\xBB\xBF";

}  // namespace

TEST(Utf8List, TheMarkIsNoPartOfLineOneHoweverTheBytesArrive) {
    for (size_t piece : {1, 2, 3, 4096}) {
        SCOPED_TRACE(piece);
        EXPECT_EQ(utf8_lines(MARK + "caf\xC3\xA9\r\nb", piece), (Lines{"caf\xC3\xA9", "b"}));
        // A file of the mark alone is an empty list, as an empty file is.
        EXPECT_EQ(utf8_lines(MARK, piece), Lines{});
        EXPECT_EQ(utf8_lines(MARK + "\r\n", piece), Lines{""});
    }
}

TEST(Utf8List, OnlyALeadingWholeMarkIsDropped) {
    for (size_t piece : {1, 4096}) {
        SCOPED_TRACE(piece);
        EXPECT_EQ(utf8_lines("\xEF\xBB", piece), Lines{"\xEF\xBB"});
        EXPECT_EQ(utf8_lines("ab", piece), Lines{"ab"});
        EXPECT_EQ(utf8_lines("a\n" + MARK + "b", piece), (Lines{"a", MARK + "b"}));
        EXPECT_EQ(utf8_lines(MARK + MARK, piece), Lines{MARK});
        EXPECT_EQ(utf8_lines("", piece), Lines{});
    }
}
