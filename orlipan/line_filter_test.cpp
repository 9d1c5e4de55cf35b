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
