#include "orlipan/start_selection.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

StartSelection read(const std::string& value, bool multi, bool* ok) {
    StartSelection s;
    *ok = read_start_selection(value, multi, &s);
    return s;
}

std::vector<int> lines_for(const std::string& value, bool multi, int count) {
    bool ok = false;
    StartSelection s = read(value, multi, &ok);
    EXPECT_TRUE(ok) << value;
    const char* texts[] = {"red", "Green", "blue", "green"};
    return start_lines(s, count, [&](int line) { return s.text == texts[line % 4]; });
}

}  // namespace

TEST(StartSelection, DigitsAreNumbersAndTheRestIsText) {
    bool ok = false;
    EXPECT_EQ(read("007", false, &ok).numbers, std::vector<int>{7});
    EXPECT_TRUE(ok);
    EXPECT_EQ(read("99999999999", false, &ok).numbers, std::vector<int>{INT_MAX});
    EXPECT_EQ(read("2,5,9", true, &ok).numbers, (std::vector<int>{2, 5, 9}));
    // Without /multi a comma list is a text like any other.
    StartSelection text = read("2,5", false, &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(text.numbers.empty());
    EXPECT_EQ(text.text, "2,5");
    EXPECT_EQ(read("-1", false, &ok).text, "-1");
    for (const char* bad : {"", "0", "000"}) {
        read(bad, false, &ok);
        EXPECT_FALSE(ok) << bad;
    }
    for (const char* bad : {"2,,5", "2,0", ",2", "2,", ","}) {
        read(bad, true, &ok);
        EXPECT_FALSE(ok) << bad;
    }
}

TEST(StartSelection, NumbersPastTheEndTakeTheLastLine) {
    EXPECT_EQ(lines_for("3", false, 10), std::vector<int>{2});
    EXPECT_EQ(lines_for("11", false, 10), std::vector<int>{9});
    EXPECT_EQ(lines_for("99999999999", false, 10), std::vector<int>{9});
    EXPECT_EQ(lines_for("9,2,2,40", true, 10), (std::vector<int>{1, 8, 9}));
    EXPECT_TRUE(lines_for("1", false, 0).empty());
    EXPECT_TRUE(start_lines(StartSelection(), 5, [](int) { return true; }).empty());
}

TEST(StartSelection, ATextTakesTheFirstLineEqualToIt) {
    // The comparison itself is the caller's: here exact, to see which line wins.
    EXPECT_EQ(lines_for("green", false, 8), std::vector<int>{3});
    EXPECT_EQ(lines_for("Green", true, 8), std::vector<int>{1});
    EXPECT_TRUE(lines_for("purple", false, 8).empty());
}
