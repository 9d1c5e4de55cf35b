#include "orlipan/utf8_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "orlipan/line_store_testing.h"

namespace {

// The lines of `bytes` read through the mark skip in pieces of `piece` bytes.
std::vector<std::string> utf8_lines(const std::string& bytes, size_t piece) {
    return store_lines(without_utf8_bom(pieces_of(bytes, piece)));
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
