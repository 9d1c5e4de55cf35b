#include "frame/text.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(TextPieces, MidTextClampsStartAndLength) {
    EXPECT_EQ(mid_text("fs=12", 4), "12");
    EXPECT_EQ(mid_text("abc", 0, 2), "ab");
    EXPECT_EQ(mid_text("abc", 4, 1), "");
    EXPECT_EQ(mid_text("abc", 2, -3), "");
    EXPECT_EQ(mid_text("abc", 2, 100), "bc");
    EXPECT_EQ(mid_text("abc", -5), "abc");
    EXPECT_EQ(mid_text("abc", 3), "c");
    EXPECT_EQ(mid_text("abc", 4), "");
    EXPECT_EQ(mid_text("abc", INT32_MIN), "abc");
    EXPECT_EQ(mid_text("abc", INT32_MAX, INT32_MAX), "");
}

TEST(TextPieces, LeftTextClampsItsCount) {
    EXPECT_EQ(left_text("abc", 5), "abc");
    EXPECT_EQ(left_text("abc", 2), "ab");
    EXPECT_EQ(left_text("abc", 0), "");
    EXPECT_EQ(left_text("abc", -1), "");
}

TEST(TextPieces, SpacesLengthAndFirstCode) {
    EXPECT_EQ(space_text(3), "   ");
    EXPECT_EQ(space_text(-2), "");
    EXPECT_EQ(text_length(space_text(300)), 300);
    EXPECT_EQ(first_char_code("/menu"), 47);
    EXPECT_EQ(first_char_code("\xE9t\xE9"), 0xE9);
    EXPECT_EQ(first_char_code(""), 0);
}

TEST(TextPieces, TrimRemovesOnlySpacesAtBothEnds) {
    EXPECT_EQ(trim_text("  a b  "), "a b");
    EXPECT_EQ(trim_text("\ta\t "), "\ta\t");
    EXPECT_EQ(trim_text("    "), "");
    EXPECT_EQ(trim_text(""), "");
}

TEST(ParseValue, ReadsSignedDecimalHexAndBinary) {
    EXPECT_EQ(parse_value("12"), 12);
    EXPECT_EQ(parse_value("  -7"), -7);
    EXPECT_EQ(parse_value("\t+42"), 42);
    EXPECT_EQ(parse_value("$FF"), 255);
    EXPECT_EQ(parse_value("$ff80"), 65408);
    EXPECT_EQ(parse_value("  $1f"), 31);
    EXPECT_EQ(parse_value("%101"), 5);
    EXPECT_EQ(parse_value("-%11"), -3);
    EXPECT_EQ(parse_value("-$10"), -16);
    EXPECT_EQ(parse_value("%102"), 2);
    EXPECT_EQ(parse_value("$1g"), 1);
}

TEST(ParseValue, IgnoresTrailingTextAndReadsNoDigitsAsZero) {
    EXPECT_EQ(parse_value("12abc"), 12);
    EXPECT_EQ(parse_value("1.9"), 1);
    for (const char* text : {"abc", "- 5", "0x10", "$", "%", "+-5", "+", "", "#FF"}) {
        EXPECT_EQ(parse_value(text), 0) << text;
    }
}

TEST(ParseValue, WrapsIn64BitsAndCallersKeepTheLow32) {
    EXPECT_EQ(parse_value("99999999999"), INT64_C(99999999999));
    EXPECT_EQ(parse_value32("99999999999"), 1215752191);
    EXPECT_EQ(parse_value("$FFFFFFFF"), INT64_C(4294967295));
    EXPECT_EQ(parse_value32("$FFFFFFFF"), -1);
    EXPECT_EQ(parse_value("9223372036854775808"), INT64_MIN);
    EXPECT_EQ(parse_value("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(parse_value("18446744073709551617"), 1);
    EXPECT_EQ(parse_value("$10000000000000005"), 5);
    EXPECT_EQ(parse_value32("-1"), -1);
    EXPECT_EQ(parse_value32("2147483648"), INT32_MIN);
}

TEST(ReplaceText, CopyModeDoesNotOverlapOrRescan) {
    EXPECT_EQ(replace_text(std::string("aaa"), "aa", "b", 0), "ba");
    EXPECT_EQ(replace_text(std::string("Ab"), "a", "x", 0), "Ab");
    EXPECT_EQ(replace_text(std::string("''quoted''"), "''", "\"", 0), "\"quoted\"");
    EXPECT_EQ(replace_text(std::string("aXa"), "a", "aa", 0), "aaXaa");
    EXPECT_EQ(replace_text(std::string("set $item"), "$item", "", 0), "set ");
}

TEST(ReplaceText, IgnoreCaseFoldsOnlyAsciiLetters) {
    EXPECT_EQ(replace_text(std::string("x $ITEM y"), "$item", "Z", REPLACE_IGNORE_CASE), "x Z y");
    EXPECT_EQ(replace_text(std::string("\xC9t\xE9"), "\xE9", "e", REPLACE_IGNORE_CASE), "\xC9te");
}

TEST(ReplaceText, InPlaceRewritesTheTextItself) {
    std::string text = "a#b#";
    EXPECT_EQ(replace_text(text, "#", "$", REPLACE_IN_PLACE), "a$b$");
    EXPECT_EQ(text, "a$b$");
    std::string mixed = "A#a#";
    replace_text(mixed, "A#", "zz", REPLACE_IN_PLACE | REPLACE_IGNORE_CASE);
    EXPECT_EQ(mixed, "zzzz");
}

TEST(ReplaceText, CopyModeLeavesTheInputUntouched) {
    std::string text = "a#b#";
    EXPECT_EQ(replace_text(text, "#", "$", 0), "a$b$");
    EXPECT_EQ(text, "a#b#");
}

TEST(FoldTables, OnlyTheLettersAToZFoldWithoutALocale) {
    const unsigned char* ascii = ascii_fold_table();
    EXPECT_EQ(ascii['A'], 'a');
    EXPECT_EQ(ascii['Z'], 'z');
    EXPECT_EQ(ascii['@'], '@');
    EXPECT_EQ(ascii['['], '[');
    EXPECT_EQ(ascii['a'], 'a');
    EXPECT_EQ(ascii[0], 0);
    EXPECT_EQ(ascii[0xC9], 0xC9);
    // Natively lower_text knows ASCII only, so the ANSI table is the same.
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(ansi_fold_table()[i], ascii[i]) << i;
    }
}

TEST(ReplaceText, InPlaceWithALongerReplacementStaysWithinTheText) {
    std::string text = "a#b#";
    replace_text(text, "#", "<hash>", REPLACE_IN_PLACE);
    EXPECT_EQ(text, "a<hash>b<hash>");
}

TEST(ReplaceText, EmptySearchChangesNothingInAnyMode) {
    for (int mode = 0; mode <= 3; ++mode) {
        std::string text = "abc";
        EXPECT_EQ(replace_text(text, "", "x", mode), "abc") << mode;
        EXPECT_EQ(text, "abc") << mode;
    }
}

TEST(CountSubstring, CountsNonOverlappingOccurrences) {
    EXPECT_EQ(count_substring("aaaa", "aa"), 2);
    EXPECT_EQ(count_substring("aaa", "aa"), 1);
    EXPECT_EQ(count_substring("a;b;c", ";"), 2);
    EXPECT_EQ(count_substring("", ";"), 0);
    EXPECT_EQ(count_substring("abc", ""), 0);
    EXPECT_EQ(count_substring("ABC", "b"), 0);
}

TEST(FindText, FindsTheFirstOccurrenceFromStart) {
    EXPECT_EQ(find_text("Wait $ s", "$", 1), 6);
    EXPECT_EQ(find_text("abab", "ab", 2), 3);
    EXPECT_EQ(find_text("abab", "ab", -4), 1);
    EXPECT_EQ(find_text("abab", "ab", 4), 0);
    EXPECT_EQ(find_text("abab", "b", 4), 4);
    EXPECT_EQ(find_text("abab", "b", 5), 0);
    EXPECT_EQ(find_text("abab", "B", 1), 0);
    EXPECT_EQ(find_text("", "a", 1), 0);
    EXPECT_EQ(find_text("abc", "", 1), 0);
}

TEST(NumberToText, CoversTheWhole64BitRange) {
    EXPECT_EQ(number_to_text(0), "0");
    EXPECT_EQ(number_to_text(-5), "-5");
    EXPECT_EQ(number_to_text(255), "255");
    EXPECT_EQ(number_to_text(-2147483648LL), "-2147483648");
    EXPECT_EQ(number_to_text(INT64_MAX), "9223372036854775807");
    EXPECT_EQ(number_to_text(INT64_MIN), "-9223372036854775808");
}

TEST(Colours, SplitJoinAndSwapBytes) {
    EXPECT_EQ(red_of(0x00123456), 0x56u);
    EXPECT_EQ(green_of(0x00123456), 0x34u);
    EXPECT_EQ(blue_of(0xFF123456), 0x12u);
    EXPECT_EQ(make_rgb(0x56, 0x34, 0x12), 0x123456u);
    EXPECT_EQ(swap_color_bytes(0x12345678), 0x785634u);
    EXPECT_EQ(parse_value("$FF8000"), 16744448);
    EXPECT_EQ(swap_color_bytes(static_cast<uint32_t>(parse_value32("$FF8000"))), 33023u);
}

}  // namespace
