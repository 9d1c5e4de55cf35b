#include "toolkit/grid_lines.h"

#include <gtest/gtest.h>

#include <climits>

using Rows = std::vector<int>;

TEST(GridLines, RulesTheLastPixelRowOfEverySlotDownToTheBottom) {
    EXPECT_EQ(grid_rule_rows(0, 17, 60), (Rows{16, 33, 50}));
    // The client height itself is outside the client area.
    EXPECT_EQ(grid_rule_rows(0, 17, 50), (Rows{16, 33}));
    EXPECT_EQ(grid_rule_rows(0, 17, 51), (Rows{16, 33, 50}));
}

TEST(GridLines, StartsBelowAHeaderAtLineZero) {
    EXPECT_EQ(grid_rule_rows(20, 35, 70), (Rows{34, 49, 64}));
}

TEST(GridLines, AScrolledListStartsAtTheFirstRuleInsideTheClientArea) {
    // Line 0 at -170..-153: its rules fall on -154, -137, ..., -1, 16, 33.
    EXPECT_EQ(grid_rule_rows(-170, -153, 40), (Rows{16, 33}));
    // A rule exactly on the top pixel row is kept.
    EXPECT_EQ(grid_rule_rows(-50, -33, 40), (Rows{0, 17, 34}));
    // Line 0 just above the client area: its rule is row -1, so the next one is first.
    EXPECT_EQ(grid_rule_rows(-17, 0, 20), (Rows{16}));
}

TEST(GridLines, AListScrolledFarDownStaysCheapAndExact) {
    const int pitch = 18;
    const int top = -pitch * 1000000;
    Rows rows = grid_rule_rows(top, top + pitch, 100);
    EXPECT_EQ(rows, (Rows{17, 35, 53, 71, 89}));
    // Coordinates near the integer limits must not wrap around.
    EXPECT_EQ(grid_rule_rows(INT_MIN, INT_MIN + 10, 25), (Rows{1, 11, 21}));
}

TEST(GridLines, NothingForAnEmptyAreaOrARowWithoutHeight) {
    EXPECT_TRUE(grid_rule_rows(0, 17, 0).empty());
    EXPECT_TRUE(grid_rule_rows(0, 17, -5).empty());
    EXPECT_TRUE(grid_rule_rows(5, 5, 100).empty());
    EXPECT_TRUE(grid_rule_rows(10, 4, 100).empty());
    // Line 0 below the client area: nothing to rule.
    EXPECT_TRUE(grid_rule_rows(200, 217, 100).empty());
}
