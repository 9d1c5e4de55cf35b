#include "frame/utf8.h"

#include <gtest/gtest.h>

namespace {

const std::u16string R = u"\uFFFD";

}  // namespace

TEST(Utf8, EveryLengthOfSequenceDecodesAndEncodesBack) {
    const std::string text = u8"A\u00e9\u03a9\u65e5\U0001F600z";
    const std::u16string wide = u"A\u00e9\u03a9\u65e5\U0001F600z";
    EXPECT_EQ(utf16_from_utf8(text), wide);
    EXPECT_EQ(utf8_from_utf16(wide), text);
    EXPECT_EQ(utf16_from_utf8(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Utf8, EachMaximalInvalidPieceBecomesOneReplacement) {
    // A lone continuation byte, a byte that never starts a sequence, and a
    // sequence cut short by the next character or by the end.
    EXPECT_EQ(utf16_from_utf8("a\x80"
                              "b\xFF"
                              "c\xE2\x82"
                              "d\xF0\x9F\x98"),
              u"a" + R + u"b" + R + u"c" + R + u"d" + R);
    // Overlong forms, surrogates and code points past U+10FFFF are refused at
    // their second byte, so every following byte is a piece of its own.
    EXPECT_EQ(utf16_from_utf8("\xC0\xAF"), R + R);
    EXPECT_EQ(utf16_from_utf8("\xE0\x80\xAF"), R + R + R);
    EXPECT_EQ(utf16_from_utf8("\xED\xA0\x80"), R + R + R);
    EXPECT_EQ(utf16_from_utf8("\xF4\x90\x80\x80"), R + R + R + R);
    // The edges just inside the ranges are characters.
    EXPECT_EQ(utf16_from_utf8("\xED\x9F\xBF\xF4\x8F\xBF\xBF"), u"\uD7FF\U0010FFFF");
}

TEST(Utf8, UnpairedSurrogatesBecomeReplacementsInUtf8) {
    EXPECT_EQ(utf8_from_utf16(u"a\xD800z"), "a\xEF\xBF\xBDz");
    EXPECT_EQ(utf8_from_utf16(std::u16string(1, u'\xDC00') + u"\xD83D"),
              "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Utf8, BoundedDecodingStopsBeforeTheBufferEndsAndNeverSplitsAPair) {
    char16_t out[4] = {1, 1, 1, 1};
    EXPECT_EQ(utf16_from_utf8_into(u8"ab\U0001F600", out, 4), 2);
    EXPECT_EQ(std::u16string(out), u"ab");
    EXPECT_EQ(utf16_from_utf8_into(u8"\U0001F600x", out, 4), 3);
    EXPECT_EQ(std::u16string(out), u"\U0001F600x");
    // A sequence cut by the terminating zero reads nothing after it.
    const char cut[] = {'\xE2', '\x82', '\0', '\xAC', '\0'};
    EXPECT_EQ(utf16_from_utf8_into(cut, out, 4), 1);
    EXPECT_EQ(out[0], 0xFFFD);
    EXPECT_EQ(utf16_from_utf8_into("abc", out, 0), 0);
}

TEST(Utf8, OnlyTheThreeMarkBytesAreAByteOrderMark) {
    EXPECT_TRUE(starts_with_utf8_bom("\xEF\xBB\xBFx", 4));
    EXPECT_FALSE(starts_with_utf8_bom("\xEF\xBB", 2));
    EXPECT_FALSE(starts_with_utf8_bom("\xEF\xBB\xBE", 3));
}
