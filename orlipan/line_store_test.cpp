#include "orlipan/line_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orlipan/line_store_testing.h"

using namespace std::string_literals;

namespace {

using Lines = std::vector<std::string>;

Lines stored_lines(const std::string& bytes, size_t piece = 1 << 20) {
    LinesResult result = LINES_TOO_LARGE;
    Lines lines = store_lines(pieces_of(bytes, piece), &result);
    EXPECT_EQ(result, LINES_OK);
    return lines;
}

}  // namespace

TEST(LineStore, AllLineEndsGiveTheSameItems) {
    Lines expected{"red", "green", "blue"};
    EXPECT_EQ(stored_lines("red\r\ngreen\r\nblue\r\n"), expected);
    EXPECT_EQ(stored_lines("red\ngreen\nblue\n"), expected);
    EXPECT_EQ(stored_lines("red\rgreen\rblue\r"), expected);
    EXPECT_EQ(stored_lines("red\0green\0blue"s), expected);
}

TEST(LineStore, LastLineWithoutTerminatorAndNoExtraLineAtTheEnd) {
    EXPECT_EQ(stored_lines("a\r\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(stored_lines("a\r\nb\r\nc\r\n\r\n"), (Lines{"a", "b", "c", ""}));
    EXPECT_EQ(stored_lines(""), Lines{});
    EXPECT_EQ(stored_lines("\n"), Lines{""});
    EXPECT_EQ(stored_lines("\r"), Lines{""});
}

TEST(LineStore, CarriageReturnFollowedByOtherBytesStartsTheNextLine) {
    EXPECT_EQ(stored_lines("a\r\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(stored_lines("a\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(stored_lines("a\r\n\nb"), (Lines{"a", "", "b"}));
}

TEST(LineStore, ZeroBytesSplitLinesAndHighBytesAndTheMarkAreKept) {
    EXPECT_EQ(stored_lines("ab\0cd\n"s), (Lines{"ab", "cd"}));
    EXPECT_EQ(stored_lines("\0\0\0"s), (Lines{"", "", ""}));
    EXPECT_EQ(stored_lines("\xEF\xBB\xBFone\n\x82t\xE9\n"),
              (Lines{"\xEF\xBB\xBFone", "\x82t\xE9"}));
}

// A CR at the end of one read and its LF at the start of the next are one
// line end: every read size must give the lines of the whole string.
TEST(LineStore, KeepsTheLineRulesForEveryReadSize) {
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
                                             "a\r\nb\rc\n\r\n",
                                             "last without end"};
    for (const std::string& input : inputs) {
        for (size_t piece : {1, 2, 3, 7, 1 << 20}) {
            SCOPED_TRACE(testing::PrintToString(input) + " piece " + std::to_string(piece));
            EXPECT_EQ(stored_lines(input, piece), split_whole(input));
        }
    }
    std::string bytes = std::string(4095, 'x') + "\r\nnext";
    EXPECT_EQ(stored_lines(bytes, 4096), (Lines{std::string(4095, 'x'), "next"}));
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

TEST(LineStore, ReadErrorActsAsEndOfFile) {
    int calls = 0;
    LinesResult result = LINES_TOO_LARGE;
    Lines lines = store_lines(
        [&](char* buffer, int) {
            if (++calls > 1)
                return -1;
            buffer[0] = 'a';
            buffer[1] = '\n';
            buffer[2] = 'b';
            return 3;
        },
        &result);
    EXPECT_EQ(result, LINES_OK);
    EXPECT_EQ(lines, (Lines{"a", "b"}));
    EXPECT_EQ(calls, 2);  // no further reads after the failure
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

TEST(LineStore, StepsHandOverOnlyEndedLinesAndTheIndexStaysWithinAPointerALine) {
    // A CR LF split between two reads, and a last line that only the end ends.
    LineBytes bytes;
    std::vector<char*> ended;
    ByteSource source = pieces_of("one\r\ntwo\r\nthree", 4);
    EXPECT_EQ(read_line_step(&bytes, source, &ended), LINE_STEP_MORE);  // "one\r"
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_STREQ(ended[0], "one");
    EXPECT_EQ(read_line_step(&bytes, source, &ended), LINE_STEP_MORE);  // "\ntwo"
    EXPECT_EQ(ended.size(), 1u);
    while (read_line_step(&bytes, source, &ended) == LINE_STEP_MORE) {
    }
    ASSERT_EQ(ended.size(), 3u);
    EXPECT_STREQ(ended[1], "two");
    EXPECT_STREQ(ended[2], "three");

    // Batches taken with a guess of the whole list's size: the index is moved
    // seldom and holds no more than a pointer a line, plus the guess's margin.
    LineStore store;
    std::vector<char*> batch(1000, ended[0]);
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(add_lines(&store, batch.data(), batch.size(), 210000));
    EXPECT_EQ(line_count(store), 200000);
    EXPECT_LE(store.capacity, 210000);
    std::vector<char*> more(20000, ended[1]);
    ASSERT_TRUE(add_lines(&store, more.data(), more.size(), 210000));  // the guess fell short
    EXPECT_EQ(line_count(store), 220000);
    EXPECT_LE(static_cast<size_t>(store.capacity) * sizeof(char*), 220000 * 8 * 9 / 8);
    EXPECT_STREQ(line_at(store, 219999), "two");

    // A guess too large to hold: the index grows by need, and says so.
    std::vector<char*> last(40000, ended[2]);
    store.byte_limit = store.bytes_held + 4 * 1024 * 1024;
    bool refused = false;
    ASSERT_TRUE(add_lines(&store, last.data(), last.size(), 100000000, &refused));
    EXPECT_TRUE(refused);
    EXPECT_EQ(line_count(store), 260000);

    // An index that cannot grow adds nothing and keeps what it has.
    store.byte_limit = store.bytes_held;
    std::vector<char*> too_many(300000, ended[2]);
    EXPECT_FALSE(add_lines(&store, too_many.data(), too_many.size()));
    EXPECT_EQ(line_count(store), 260000);
    free_lines(&store);
    free_line_bytes(&bytes);
}
