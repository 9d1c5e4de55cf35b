#include "vemo/box_layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

BoxSettings with_buttons(const std::string& buttons) {
    BoxSettings s = default_box_settings();
    s.buttons = buttons;
    return s;
}

BoxLayout fitted(BoxSettings& s, const std::vector<TextExtent>& lines) {
    BoxLayout l = plan_box_layout(s);
    fit_box_text(l, s, lines);
    return l;
}

}  // namespace

TEST(BoxLayout, DefaultsWithTwoButtonsAndOneShortLineFollowTheWorkedExample) {
    BoxSettings s = with_buttons("Yes;No");
    BoxLayout l = plan_box_layout(s);
    EXPECT_EQ(l.button_count, 2);
    EXPECT_EQ(l.button_height, 24);
    EXPECT_EQ(l.margin, 18);
    EXPECT_EQ(s.button_width, 90);
    EXPECT_EQ(l.row_width, 185);
    EXPECT_EQ(s.window_width, 251);
    EXPECT_EQ(l.label_width, 215);
    EXPECT_EQ(l.first_button_x, 33);
    EXPECT_EQ(l.button_y, 54);
    EXPECT_EQ(l.window_height, 96);
    fit_box_text(l, s, {{200, 16}});
    EXPECT_EQ(l.rows, 1);
    EXPECT_EQ(l.text_height, 32);
    EXPECT_EQ(l.growth, -4);
    EXPECT_EQ(l.window_height, 92);
    EXPECT_EQ(l.button_y, 50);
    EXPECT_EQ(moved_window_y(300, l.growth, 0), 302);
    EXPECT_EQ(moved_window_y(300, -5, 7), 309);
    EXPECT_EQ(moved_window_x(300, -7), 293);
}

TEST(BoxLayout, ErrorBoxCentresItsOneButtonIn380Pixels) {
    BoxSettings s = read_box_settings({});
    BoxLayout l = plan_box_layout(s);
    EXPECT_EQ(l.label_width, 344);
    EXPECT_EQ(l.first_button_x, 145);
}

TEST(BoxLayout, FurtherRowsHoldTheLabelWidthLessTwoFontSizes) {
    EXPECT_EQ(rows_of_line(0, 215, 9), 1);
    EXPECT_EQ(rows_of_line(215, 215, 9), 1);
    EXPECT_EQ(rows_of_line(216, 215, 9), 2);
    EXPECT_EQ(rows_of_line(412, 215, 9), 2);
    EXPECT_EQ(rows_of_line(413, 215, 9), 3);
    BoxSettings s = with_buttons("A;B");
    BoxLayout l = fitted(s, {{100, 16}, {0, 16}, {413, 16}});
    EXPECT_EQ(l.rows, 5);
    EXPECT_EQ(l.text_height, 6 * 16);
}

TEST(BoxLayout, MinimumTextLinesOnlyRaiseTheRowCount) {
    BoxSettings five = with_buttons("A");
    five.min_text_lines = 5;
    EXPECT_EQ(fitted(five, {{50, 16}}).text_height, 6 * 16);
    BoxSettings one = with_buttons("A");
    one.min_text_lines = 1;
    EXPECT_EQ(fitted(one, {{50, 16}, {50, 16}}).text_height, 3 * 16);
}

TEST(BoxLayout, RequestedWidthIsRaisedToTheButtonRowAndCentresIt) {
    BoxSettings narrow = with_buttons("A;B");
    narrow.window_width = 100;
    plan_box_layout(narrow);
    EXPECT_EQ(narrow.window_width, 251);
    BoxSettings wide = with_buttons("A;B");
    wide.window_width = 600;
    EXPECT_EQ(plan_box_layout(wide).first_button_x, 207);
    EXPECT_EQ(wide.window_width, 600);
    BoxSettings ten = with_buttons("1;2;3;4;5;6;7;8;9;10");
    plan_box_layout(ten);
    EXPECT_EQ(ten.window_width, 1011);
    BoxSettings big_font = with_buttons("A");
    big_font.font_size = 20;
    big_font.button_width = 10;
    plan_box_layout(big_font);
    EXPECT_EQ(big_font.window_width, 400);
}

TEST(BoxLayout, RowsWithNoWidthLeftStillEndAsOneRowPerLine) {
    EXPECT_EQ(rows_of_line(500, 0, 0), 1);
    EXPECT_EQ(rows_of_line(500, -65, -5), 1);
    BoxSettings s = read_box_settings({"T", "text", "A;B", "/FS=0", "/BW=-100", "/WW=-1000"});
    BoxLayout l = fitted(s, {{30, 13}, {9000, 13}});
    EXPECT_EQ(l.label_width, 0);
    EXPECT_EQ(l.rows, 2);
    BoxSettings negative = read_box_settings({"T", "text", "A", "/FS=-5", "/WW=-1000"});
    EXPECT_EQ(fitted(negative, {{40, 10}}).rows, 1);
}

TEST(BoxLayout, ExtremeValuesSaturateInsteadOfWrapping) {
    BoxSettings huge_font = with_buttons("A;B");
    huge_font.font_size = INT_MAX;
    BoxLayout l = fitted(huge_font, {{INT_MAX, INT_MAX}});
    EXPECT_EQ(l.margin, INT_MAX);
    EXPECT_EQ(huge_font.window_width, INT_MAX);
    EXPECT_EQ(l.text_height, INT_MAX);

    BoxSettings wide = with_buttons("A;B");
    wide.window_width = INT_MAX;
    wide.button_width = INT_MIN;
    EXPECT_EQ(plan_box_layout(wide).first_button_x, INT_MAX);

    BoxSettings tiny = with_buttons("A");
    tiny.font_size = INT_MIN;
    tiny.button_width = 1;
    BoxLayout t = fitted(tiny, {{INT_MAX, 10}});
    EXPECT_EQ(t.margin, INT_MIN);
    EXPECT_GT(t.rows, 0);

    BoxSettings many = with_buttons(std::string(999, ';'));
    EXPECT_EQ(plan_box_layout(many).button_count, 1000);
    EXPECT_EQ(many.window_width, 1000 * 95 - 5 + 36 + 30);
}

TEST(BoxLayout, FieldsSplitOnEveryDelimiterKeepingEmptyOnes) {
    EXPECT_EQ(split_fields("", ';'), std::vector<std::string>{""});
    EXPECT_EQ(split_fields("a;;b;", ';'), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(split_fields("x\r\ry", '\r'), (std::vector<std::string>{"x", "", "y"}));
}
