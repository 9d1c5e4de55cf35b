#include "orlipan/line_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

using Lines = std::vector<std::string>;

// Serves `bytes` in pieces of at most `piece` bytes, as a pipe would.
ByteSource pieces_of(const std::string& bytes, size_t piece) {
    auto offset = std::make_shared<size_t>(0);
    return [bytes, piece, offset](char* buffer, int capacity) {
        size_t n = std::min({bytes.size() - *offset, piece, (size_t)capacity});
        std::copy_n(bytes.data() + *offset, n, buffer);
        *offset += n;
        return (int)n;
    };
}

Lines stored_lines(const std::string& bytes, size_t piece = 1 << 20) {
    LineStore store;
    EXPECT_EQ(read_all_lines(&store, pieces_of(bytes, piece)), LINES_OK);
    Lines lines;
    for (int i = 0; i < line_count(store); ++i)
        lines.push_back(line_at(store, i));
    free_lines(&store);
    return lines;
}

Lines reader_lines(const std::string& bytes) {
    ListReader reader = make_list_reader(pieces_of(bytes, 4096));
    Lines lines;
    while (!list_at_end(&reader))
        lines.push_back(read_list_line(&reader));
    return lines;
}

}  // namespace

TEST(LineStore, KeepsTheLineRulesOfTheListReaderForEveryReadSize) {
    const std::vector<std::string> inputs = {"",
                                             "\n",
                                             "\r",
                                             "\r\n",
                                             "a",
                                             "red\r\ngreen\r\nblue\r\n",
                                             "a\r\rb",
                                             "a\n\r\nb",
                                             "a\r\n\nb",
                                             "ab\0cd\n"s,
                                             "\0\0\0"s,
                                             "x\r\n\r\n",
                                             "last without end"};
    for (const std::string& input : inputs) {
        for (size_t piece : {1, 2, 3, 7, 1 << 20}) {
            SCOPED_TRACE(testing::PrintToString(input) + " piece " + std::to_string(piece));
            EXPECT_EQ(stored_lines(input, piece), reader_lines(input));
        }
    }
}

TEST(LineStore, LinesLongerThanABlockAndManyBlocksStayWhole) {
    std::string huge(3 * 1024 * 1024 + 17, 'w');
    std::string bytes = "a\r" + huge + "\r\nb";
    EXPECT_EQ(stored_lines(bytes, 65536), (Lines{"a", huge, "b"}));

    // Enough short lines to fill several blocks, read in odd pieces so that a
    // CR LF and lines fall across reads and blocks.
    std::string many;
    Lines expected;
    for (int i = 0; i < 300000; ++i) {
        expected.push_back("line " + std::to_string(i));
        many += expected.back() + "\r\n";
    }
    EXPECT_EQ(stored_lines(many, 4093), expected);
}

TEST(LineStore, RunningOutOfMemoryIsReportedAndKeepsWhatWasRead) {
    LineStore store;
    store.byte_limit = 200 * 1024;
    std::string bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += "0123456789\n";
    EXPECT_EQ(read_all_lines(&store, pieces_of(bytes, 4096)), LINES_TOO_LARGE);
    EXPECT_GT(line_count(store), 0);
    EXPECT_LT(line_count(store), 100000);
    EXPECT_STREQ(line_at(store, line_count(store) - 1), "0123456789");
    EXPECT_LE(store.bytes_held, store.byte_limit);
    free_lines(&store);
}
