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

// ---- Displays of other densities ---------------------------------------------
// The parts of the layout are 96-DPI distances scaled as MulDiv(value, dpi, 96)
// does; the sums of parts (the button row, the window width) are sums of the
// scaled parts, so they may differ from the scaled 96-DPI sum by the roundings.

TEST(BoxLayoutScaled, DefaultsAt144DpiScaleEveryPart) {
    BoxSettings s = with_buttons("Yes;No");
    BoxLayout l = plan_box_layout(s, 144);
    EXPECT_EQ(l.dpi, 144);
    EXPECT_EQ(s.button_width, 135);
    EXPECT_EQ(l.button_height, 36);
    EXPECT_EQ(l.margin, 27);
    EXPECT_EQ(l.button_gap, 8);  // 7.5
    EXPECT_EQ(l.row_width, 2 * 135 + 8);
    EXPECT_EQ(s.window_width, 278 + 54 + 45);
    EXPECT_EQ(l.label_width, 377 - 54);
    EXPECT_EQ(l.first_button_x, (377 - 278) / 2);
    EXPECT_EQ(l.label_height, 54);
    EXPECT_EQ(l.button_y, 81);
    EXPECT_EQ(l.window_height, 144);
    // Lines are measured in the display's pixels: a 24-pixel line height.
    fit_box_text(l, s, {{300, 24}});
    EXPECT_EQ(l.rows, 1);
    EXPECT_EQ(l.text_height, 48);
    EXPECT_EQ(l.growth, 48 - 54);
    EXPECT_EQ(l.button_y, 75);
    EXPECT_EQ(moved_window_y(300, l.growth, 0, 144), 303);
}

TEST(BoxLayoutScaled, TwiceTheDensityDoublesEveryNumber) {
    BoxSettings at_96 = with_buttons("1;2;3;4;5;6;7;8;9;10");
    at_96.window_width = 0;
    BoxSettings at_192 = at_96;
    BoxLayout a = plan_box_layout(at_96);
    BoxLayout b = plan_box_layout(at_192, 192);
    EXPECT_EQ(at_192.window_width, 2 * at_96.window_width);
    EXPECT_EQ(at_192.button_width, 2 * at_96.button_width);
    for (auto member :
         {&BoxLayout::button_height, &BoxLayout::margin, &BoxLayout::row_width,
          &BoxLayout::label_width, &BoxLayout::first_button_x, &BoxLayout::label_height,
          &BoxLayout::button_y, &BoxLayout::window_height, &BoxLayout::button_gap}) {
        EXPECT_EQ(b.*member, 2 * (a.*member));
    }
}

TEST(BoxLayoutScaled, TenButtonsAt120DpiAreSumsOfTheRoundedParts) {
    BoxSettings s = with_buttons("1;2;3;4;5;6;7;8;9;10");
    BoxLayout l = plan_box_layout(s, 120);
    EXPECT_EQ(s.button_width, 113);  // 112.5
    EXPECT_EQ(l.button_gap, 6);      // 6.25
    EXPECT_EQ(l.margin, 23);         // 22.5
    EXPECT_EQ(l.row_width, 10 * 113 + 9 * 6);
    EXPECT_EQ(s.window_width, 1184 + 46 + 38);  // the reserve 30 is 37.5
    // The scaled 96-DPI width, 1011 * 1.25 = 1263.75, is 4 pixels narrower.
    EXPECT_EQ(s.window_width - mul_div(1011, 120, 96), 4);
}

TEST(BoxLayoutScaled, PixelOptionsStayIn96DpiPixels) {
    BoxSettings s = read_box_settings({"T", "x", "A;B", "/BW=100", "/WW=600", "/DX=10", "/DY=-3"});
    BoxLayout l = plan_box_layout(s, 144);
    EXPECT_EQ(s.button_width, 150);
    EXPECT_EQ(s.window_width, 900);
    EXPECT_EQ(moved_window_x(200, s.offset_x, l.dpi), 215);
    EXPECT_EQ(moved_window_y(200, 0, s.offset_y, l.dpi), 195);  // -4.5 rounds to -5
    // A requested width below the minimums is raised to the larger scaled one:
    // 20 font sizes for one button, the button row and its margins for three.
    BoxSettings one = read_box_settings({"T", "x", "A", "/WW=100"});
    plan_box_layout(one, 192);
    EXPECT_EQ(one.window_width, 2 * 180);
    BoxSettings three = read_box_settings({"T", "x", "A;B;C", "/WW=100"});
    plan_box_layout(three, 192);
    EXPECT_EQ(three.window_width, 2 * (280 + 36 + 30));
}

TEST(BoxLayoutScaled, FurtherRowsHoldTheLabelWidthLessTwoScaledFontSizes) {
    // At 144 DPI the label is 323 pixels wide and a further row holds 323 - 27.
    EXPECT_EQ(rows_of_line(323, 323, 9, 144), 1);
    EXPECT_EQ(rows_of_line(324, 323, 9, 144), 2);
    EXPECT_EQ(rows_of_line(323 + 296, 323, 9, 144), 2);
    EXPECT_EQ(rows_of_line(323 + 297, 323, 9, 144), 3);
}
