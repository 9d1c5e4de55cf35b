#include "orlipan/line_filter.h"

#include <gtest/gtest.h>

namespace {

// ASCII folding plus one pair above 127 (0xC9 to 0xE9, E acute in Windows-1252),
// so a test sees that the table decides, not the C library.
struct Fold {
    unsigned char table[256];
    Fold() {
        for (int i = 0; i < 256; ++i)
            table[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
        table[0xC9] = 0xE9;
    }
};
const Fold FOLD;

struct Lines {
    std::vector<std::string> texts;
    std::vector<const char*> pointers;
    explicit Lines(std::vector<std::string> t) : texts(std::move(t)) {
        for (const std::string& text : texts)
            pointers.push_back(text.c_str());
    }
    int count() const { return static_cast<int>(texts.size()); }
};

std::vector<int> shown_after(const Lines& lines, const std::vector<std::string>& typed,
                             bool hide_blank = false) {
    ShownLines shown;
    for (const std::string& text : typed)
        filter_lines(&shown, text, lines.pointers.data(), lines.count(), hide_blank,
                     byte_fold(FOLD.table));
    std::vector<int> rows;
    for (int row = 0; row < shown_count(shown, lines.count()); ++row)
        rows.push_back(shown_line(shown, row));
    return rows;
}

bool matches(const char* line, const std::string& text) {
    return line_matches(line, filter_words(text, byte_fold(FOLD.table)), byte_fold(FOLD.table));
}

}  // namespace

TEST(LineFilter, LineMustHoldEveryWordInAnyOrderWhateverItsCase) {
    EXPECT_EQ(filter_words("  Red  \xC9t\xC9 a\tb ", byte_fold(FOLD.table)),
              (std::vector<std::string>{"red", "\xE9t\xE9", "a\tb"}));
    EXPECT_TRUE(matches("Report 2023 final.TXT", "txt  report"));
    EXPECT_TRUE(matches("CAF\xC9", "caf\xE9"));
    EXPECT_FALSE(matches("report 2023", "report 2024"));
    // Found after a false start; never past the line's end.
    EXPECT_TRUE(matches("aaab", "aab"));
    EXPECT_FALSE(matches("xyza", "ab"));
    // Lines are passed over several bytes a step: a match at any place
    // counts, and a line's end is never overrun, whatever its length.
    for (size_t at = 0; at < 9; ++at) {
        std::string line(9, '.');
        line[at] = 'X';
        EXPECT_TRUE(matches(line.substr(0, at + 1).c_str(), "x")) << at;
        EXPECT_EQ(matches(line.c_str(), ".x"), at > 0) << at;
        EXPECT_EQ(matches(line.c_str(), "x."), at < 8) << at;
        EXPECT_FALSE(matches(line.substr(0, at).c_str(), "x")) << at;
    }
}

TEST(LineFilter, EmptyTextShowsEveryLineAndTheRestKeepTheirOrder) {
    Lines lines({"banana", "apple", "", "Pineapple"});
    EXPECT_EQ(shown_after(lines, {"APP"}), (std::vector<int>{1, 3}));
    EXPECT_EQ(shown_after(lines, {"a", ""}), (std::vector<int>{0, 1, 2, 3}));
}

TEST(LineFilter, NarrowingAndWideningGiveWhatAFreshFilterGives) {
    Lines lines({"red car", "redcar", "re d", "car red", "blue", "Red Carpet", "reed"});
    // Typed one key at a time, words split and joined, then deleted again.
    const std::vector<std::string> typed = {"r",      "re",      "red",  "red ", "red c",
                                            "red ca", "red car", "red ", "re",   "r e",
                                            "r ed",   "",        "d",    "de"};
    for (size_t i = 1; i <= typed.size(); ++i) {
        std::vector<std::string> steps(typed.begin(), typed.begin() + i);
        SCOPED_TRACE(steps.back());
        EXPECT_EQ(shown_after(lines, steps), shown_after(lines, {steps.back()}));
    }
    EXPECT_EQ(shown_after(lines, {"red car"}), (std::vector<int>{0, 1, 3, 5}));
}

TEST(LineFilter, BlankLinesAreHiddenOnlyWhileTheTextIsNotEmpty) {
    Lines lines({"Edit", "", "   ", "Quit", " \t "});
    EXPECT_EQ(shown_after(lines, {""}, true), (std::vector<int>{0, 1, 2, 3, 4}));
    // A box of spaces has no words but is not empty; a tab is text.
    EXPECT_EQ(shown_after(lines, {" "}, true), (std::vector<int>{0, 3, 4}));
}

TEST(LineFilter, Utf8LinesFoldCaseInEveryScript) {
    Lines lines({"ЦВЕТ красный", "Χρώμα ΜΠΛΕ", "цвет", "Colour", "\xFF bad"});
    auto shown = [&](const std::string& text) {
        ShownLines s;
        filter_lines(&s, text, lines.pointers.data(), lines.count(), false, unicode_fold());
        return s.rows;
    };
    EXPECT_EQ(shown("цвет"), (std::vector<int>{0, 2}));
    EXPECT_EQ(shown("μπλε χΡΏ"), std::vector<int>{1});
    EXPECT_EQ(shown("COL"), std::vector<int>{3});
    EXPECT_EQ(shown("\xFF"), std::vector<int>{4});
    // Characters above ASCII that fold into it: the long s, the Kelvin sign.
    Lines folded({"\xC5\xBFtop",
                  "\xE2\x84\xAA"
                  "elvin",
                  "stock"});
    ShownLines s;
    filter_lines(&s, "ST", folded.pointers.data(), folded.count(), false, unicode_fold());
    EXPECT_EQ(s.rows, (std::vector<int>{0, 2}));
    filter_lines(&s, "k", folded.pointers.data(), folded.count(), false, unicode_fold());
    EXPECT_EQ(s.rows, (std::vector<int>{1, 2}));
}

TEST(LineFilter, LineEqualsATextWholeWhateverItsCase) {
    EXPECT_TRUE(line_equals("CAF\xC9", "caf\xE9", byte_fold(FOLD.table)));
    EXPECT_FALSE(line_equals("cafe", "caf", byte_fold(FOLD.table)));
    EXPECT_FALSE(line_equals("caf", "cafe", byte_fold(FOLD.table)));
    EXPECT_TRUE(line_equals("", "", byte_fold(FOLD.table)));
    EXPECT_TRUE(line_equals("ΜΠΛΕ", "μπλε", fold_for_lines(true)));
    EXPECT_FALSE(line_equals("ΜΠΛΕ", "μπλ", fold_for_lines(true)));
}

TEST(LineFilter, RowsFollowAGivenOrderAlsoWhileNarrowing) {
    Lines lines({"red 1", "blue", "red 2", "reed", "red 3"});
    const std::vector<int> order = {4, 1, 0, 3, 2};
    ShownLines shown;
    auto filter = [&](const std::string& text) {
        filter_lines(&shown, text, lines.pointers.data(), lines.count(), false,
                     byte_fold(FOLD.table), &order);
        return shown.rows;
    };
    EXPECT_EQ(filter("re"), (std::vector<int>{4, 0, 3, 2}));
    EXPECT_EQ(filter("red"), (std::vector<int>{4, 0, 2}));
    EXPECT_EQ(filter("red "), (std::vector<int>{4, 0, 2}));
    EXPECT_EQ(filter("e"), (std::vector<int>{4, 1, 0, 3, 2}));
}

// Enough lines that a search runs in parts where the machine has processors
// to spare, and lines that join the list after it was filtered.
TEST(LineFilter, ManyLinesAndLinesJoiningLaterShowWhatOneScanShows) {
    std::vector<std::string> texts;
    for (int i = 0; i < 300000; ++i)
        texts.push_back(i % 1000 == 999 ? "  " : (i % 2 ? "Row " : "row ") + std::to_string(i));
    Lines lines(texts);
    auto holding = [&](const std::string& digits) {
        std::vector<int> rows;
        for (int i = 0; i < lines.count(); ++i) {
            if (texts[static_cast<size_t>(i)].find(digits) != std::string::npos)
                rows.push_back(i);
        }
        return rows;
    };
    EXPECT_EQ(shown_after(lines, {"7"}), holding("7"));
    EXPECT_EQ(shown_after(lines, {"row", "row 7", "row 77"}), holding("77"));
    std::vector<int> order(static_cast<size_t>(lines.count()));
    for (int i = 0; i < lines.count(); ++i)
        order[static_cast<size_t>(i)] = lines.count() - 1 - i;
    ShownLines reversed;
    filter_lines(&reversed, "7", lines.pointers.data(), lines.count(), false, byte_fold(FOLD.table),
                 &order);
    std::vector<int> expected = holding("7");
    EXPECT_EQ(reversed.rows, std::vector<int>(expected.rbegin(), expected.rend()));

    // Lines read after the filter join its rows in steps, blank ones hidden
    // in menu mode also where the box holds only spaces; an empty box
    // shows every line already.
    for (const std::string& text : {std::string("ROW 5"), std::string(" "), std::string()}) {
        SCOPED_TRACE(text);
        ShownLines shown, whole;
        int read = 100000;
        filter_lines(&shown, text, lines.pointers.data(), read, true, byte_fold(FOLD.table));
        for (int to : {read, 100001, 250000, lines.count()}) {
            filter_more_lines(&shown, lines.pointers.data(), read, to, true, byte_fold(FOLD.table));
            read = to;
        }
        filter_lines(&whole, text, lines.pointers.data(), read, true, byte_fold(FOLD.table));
        EXPECT_EQ(shown.all, whole.all);
        EXPECT_EQ(shown.rows, whole.rows);
    }
}
