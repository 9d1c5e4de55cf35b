#include "orlipan/widest_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A proportional font in miniature: "W" is wide, "i" narrow, others 5.
struct Widths {
    int w[256];
    Widths() {
        for (int& x : w)
            x = 5;
        w['W'] = 12;
        w['i'] = 2;
        w[0xE9] = 6;
    }
};

LineStore store_of(const std::string& bytes) {
    LineStore store;
    size_t offset = 0;
    read_all_lines(&store, [&](char* buffer, int capacity) {
        size_t n = std::min(bytes.size() - offset, (size_t)capacity);
        std::memcpy(buffer, bytes.data() + offset, n);
        offset += n;
        return (int)n;
    });
    return store;
}

}  // namespace

TEST(WidestLine, FewWideLettersBeatManyNarrowOnes) {
    Widths f;
    LineStore store =
        store_of("iiiiiiiiiiiiiiiiiiii\nWWWW\nabc\nWWWW\n\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\n");
    // 40, 48, 15, 48, 48: ties keep the earlier line first.
    EXPECT_EQ(widest_line_candidates(store, f.w, 3), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(widest_line_candidates(store, f.w, 1), (std::vector<int>{1}));
    EXPECT_EQ(widest_line_candidates(store, f.w, 10), (std::vector<int>{1, 3, 4, 0, 2}));
    EXPECT_EQ(estimated_width(line_at(store, 4), f.w), 48);
    // Lines arriving later are looked at from where they start.
    WidestEstimate later = widest_estimate(store.lines + 2, 3, f.w);
    EXPECT_EQ(later.width, 48);
    EXPECT_EQ(later.index, 1);
    EXPECT_EQ(widest_estimate(store.lines, 0, f.w).index, -1);
    free_lines(&store);
}

TEST(WidestLine, EmptyListsAndEmptyLinesGiveWhatThereIs) {
    Widths f;
    LineStore empty = store_of("");
    EXPECT_TRUE(widest_line_candidates(empty, f.w, 8).empty());
    free_lines(&empty);
    LineStore blanks = store_of("\n\n");
    EXPECT_EQ(widest_line_candidates(blanks, f.w, 8), (std::vector<int>{0, 1}));
    EXPECT_TRUE(widest_line_candidates(blanks, f.w, 0).empty());
    free_lines(&blanks);
}

TEST(WidestLine, Utf8LinesCountEachCharacterOnceByItsOwnWidth) {
    // 3-byte characters of width 16 against ASCII of width 5, and an invalid
    // byte that shows as the replacement character (width 9).
    int pages_measured = 0;
    CodePointWidths widths;
    widths.measure_page = [&](unsigned first, int w[256]) {
        ++pages_measured;
        for (int i = 0; i < 256; ++i)
            w[i] = first + i == 0xFFFD ? 9 : first >= 0x3000 ? 16 : 5;
        return true;
    };
    EXPECT_EQ(estimated_utf8_width("abcde", &widths), 25);
    EXPECT_EQ(estimated_utf8_width("\xE6\x97\xA5\xE6\x9C\xAC", &widths), 32);
    EXPECT_EQ(estimated_utf8_width("a\xFF", &widths), 14);
    // Beyond 16 bits: as the replacement character.
    EXPECT_EQ(estimated_utf8_width("\xF0\x9F\x98\x80", &widths), 9);
    EXPECT_EQ(pages_measured, 4);  // 0x00, 0x65, 0x67 and 0xFF, each once
    EXPECT_EQ(estimated_utf8_width("\xE6\x97\xA5", &widths), 16);
    EXPECT_EQ(pages_measured, 4);

    LineStore store = store_of("abcdefg\n\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\nab\n");
    auto estimate = [&](const char* line) { return estimated_utf8_width(line, &widths); };
    EXPECT_EQ(widest_line_candidates(store, estimate, 2), (std::vector<int>{1, 0}));
    free_lines(&store);
}

TEST(WidestLine, EachColumnFindsItsOwnWidestCellsAndTheLastTakesTheRest) {
    Widths f;
    // Column 0 is widest in line 1, column 1 in line 0; line 2 has one field
    // only, and line 3's third field runs on past a tab into the last column.
    LineStore store = store_of("a\tWWWW\tb\nWWW\ti\nWWWW\nx\ty\tz\tWWWWWW\n");
    auto estimate = [&](const char* start, size_t length) {
        return estimated_span_width(start, length, f.w);
    };
    std::vector<std::vector<int>> best =
        widest_cell_candidates(store.lines, line_count(store), 3, estimate, 2);
    ASSERT_EQ(best.size(), 3u);
    EXPECT_EQ(best[0], (std::vector<int>{2, 1}));  // 48 and 36
    EXPECT_EQ(best[1], (std::vector<int>{0, 3}));  // 48, then 5 ahead of i's 2
    EXPECT_EQ(best[2], (std::vector<int>{3, 0}));  // "z<TAB>WWWWWW" is 5 + 5 + 72
    EXPECT_EQ(estimated_span_width("WiW", 2, f.w), 14);
    EXPECT_TRUE(widest_cell_candidates(store.lines, line_count(store), 3, estimate, 0)[1].empty());
    free_lines(&store);
}
