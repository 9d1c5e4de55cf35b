#include "orlipan/list_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace std::string_literals;

namespace {

// Serves `bytes` in pieces of at most `piece` bytes, as a file read would.
ByteSource bytes_source(const std::string& bytes, int piece = LIST_READ_BUFFER_SIZE) {
    auto offset = std::make_shared<size_t>(0);
    return [bytes, piece, offset](char* buffer, int capacity) {
        int n = (int)std::min<size_t>(bytes.size() - *offset, (size_t)std::min(piece, capacity));
        std::copy_n(bytes.data() + *offset, n, buffer);
        *offset += n;
        return n;
    };
}

std::vector<std::string> lines_of(const std::string& bytes, int piece = LIST_READ_BUFFER_SIZE) {
    ListReader reader = make_list_reader(bytes_source(bytes, piece));
    std::vector<std::string> lines;
    while (!list_at_end(&reader))
        lines.push_back(read_list_line(&reader));
    return lines;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(ListReader, AllLineEndsGiveTheSameItems) {
    Lines expected{"red", "green", "blue"};
    EXPECT_EQ(lines_of("red\r\ngreen\r\nblue\r\n"), expected);
    EXPECT_EQ(lines_of("red\ngreen\nblue\n"), expected);
    EXPECT_EQ(lines_of("red\rgreen\rblue\r"), expected);
    EXPECT_EQ(lines_of("red\0green\0blue"s), expected);
}

TEST(ListReader, LastLineWithoutTerminatorAndNoExtraLineAtTheEnd) {
    EXPECT_EQ(lines_of("a\r\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(lines_of("a\r\nb\r\nc\r\n\r\n"), (Lines{"a", "b", "c", ""}));
    EXPECT_EQ(lines_of(""), Lines{});
    EXPECT_EQ(lines_of("\n"), Lines{""});
    EXPECT_EQ(lines_of("\r"), Lines{""});
}

TEST(ListReader, CarriageReturnFollowedByOtherBytesStartsTheNextLine) {
    EXPECT_EQ(lines_of("a\r\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(lines_of("a\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(lines_of("a\r\n\nb"), (Lines{"a", "", "b"}));
}

TEST(ListReader, ZeroBytesSplitLines) {
    EXPECT_EQ(lines_of("ab\0cd\n"s), (Lines{"ab", "cd"}));
    EXPECT_EQ(lines_of("\0\0\0"s), (Lines{"", "", ""}));
}

TEST(ListReader, ByteOrderMarkAndHighBytesAreKept) {
    EXPECT_EQ(lines_of("\xEF\xBB\xBFone\n\x82t\xE9\n"), (Lines{"\xEF\xBB\xBFone", "\x82t\xE9"}));
}

TEST(ListReader, LineEndSplitAcrossReadsIsStillOneTerminator) {
    // The CR is the last byte of one read and the LF the first of the next.
    std::string bytes = std::string(LIST_READ_BUFFER_SIZE - 1, 'x') + "\r\nnext";
    Lines lines = lines_of(bytes);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), (size_t)LIST_READ_BUFFER_SIZE - 1);
    EXPECT_EQ(lines[1], "next");
    // Sources that deliver one or three bytes at a time give the same lines.
    EXPECT_EQ(lines_of("a\r\nb\rc\n\r\n", 1), (Lines{"a", "b", "c", ""}));
    EXPECT_EQ(lines_of("a\r\nb\rc\n\r\n", 3), (Lines{"a", "b", "c", ""}));
}

TEST(ListReader, LinesHaveNoLengthLimit) {
    std::string long_line(3 * 1024 * 1024 + 17, 'q');
    Lines lines = lines_of(long_line + "\nz");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], long_line);
    EXPECT_EQ(lines[1], "z");
}

TEST(ListReader, ReadErrorActsAsEndOfFile) {
    int calls = 0;
    ListReader reader = make_list_reader([&](char* buffer, int) {
        if (++calls > 1)
            return -1;
        buffer[0] = 'a';
        buffer[1] = '\n';
        buffer[2] = 'b';
        return 3;
    });
    ASSERT_FALSE(list_at_end(&reader));
    EXPECT_EQ(read_list_line(&reader), "a");
    EXPECT_EQ(read_list_line(&reader), "b");
    EXPECT_TRUE(list_at_end(&reader));
    EXPECT_TRUE(list_at_end(&reader));
    EXPECT_EQ(calls, 2);  // no further reads after the failure
}

// The list is filled through one reused line buffer: a short line after a
// long one, an empty line and a line split over several blocks must come out
// as they would one string per line.
TEST(ListReader, ReusedLineBufferGivesTheSameLines) {
    std::string long_line(LIST_READ_BUFFER_SIZE * 3 + 7, 'x');
    std::string bytes = long_line + "\r\nab\r\n\r\n" + long_line + "\rz";
    Lines expected{long_line, "ab", "", long_line, "z"};
    for (int piece : {LIST_READ_BUFFER_SIZE, 5, 1}) {
        ListReader reader = make_list_reader(bytes_source(bytes, piece));
        Lines lines;
        std::string line = "stale";
        while (!list_at_end(&reader)) {
            read_list_line_into(&reader, &line);
            lines.push_back(line);
        }
        EXPECT_EQ(lines, expected) << "piece " << piece;
        EXPECT_EQ(lines, lines_of(bytes, piece));
    }
}

TEST(ListReader, FileNamePartIsTheTextAfterTheLastSlash) {
    EXPECT_EQ(file_name_part("C:\\data\\list.txt"), "list.txt");
    EXPECT_EQ(file_name_part("C:/data/sub\\x.lst"), "x.lst");
    EXPECT_EQ(file_name_part("plain.txt"), "plain.txt");
    EXPECT_EQ(file_name_part("C:\\dir\\"), "");
    EXPECT_EQ(file_name_part(""), "");
    EXPECT_EQ(file_name_part("C:\\a\\b.txt\" tail"), "b.txt");
}
