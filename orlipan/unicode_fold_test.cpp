#include "orlipan/unicode_fold.h"

#include <gtest/gtest.h>

TEST(UnicodeFold, FoldsEveryScriptOneCharacterForOne) {
    EXPECT_EQ(fold_utf8_text("ЦВЕТ Ёж"), "цвет ёж");
    // Accented capitals and the final sigma fold to the plain small letters.
    EXPECT_EQ(fold_utf8_text("ΧΡΏΜΑ Σς"), "χρώμα σσ");
    EXPECT_EQ(fold_utf8_text("ĀĂŒ ÀÉÎ Ǆ Ա"), "āăœ àéî ǆ ա");
    // Beyond the first plane (Deseret), and the Kelvin sign into plain k.
    EXPECT_EQ(fold_code_point(0x10400), 0x10428u);
    EXPECT_EQ(fold_code_point(0x212A), static_cast<char32_t>('k'));
    // No change in length: sharp s stays, digits and ideographs are themselves.
    EXPECT_EQ(fold_utf8_text("Straße 12 東京"), "straße 12 東京");
    // A byte that is not UTF-8 stays, as does the replacement character itself.
    EXPECT_EQ(fold_utf8_text("A\xFF"
                             "B\xEF\xBF\xBD"),
              "a\xFF"
              "b\xEF\xBF\xBD");
}

TEST(UnicodeFold, FindsAFoldedWordAnywhereInALine) {
    EXPECT_TRUE(utf8_holds_folded("Красный ЦВЕТ", fold_utf8_text("цвет")));
    EXPECT_TRUE(utf8_holds_folded("ΧΡΏΜΑ", fold_utf8_text("ρώ")));
    EXPECT_TRUE(
        utf8_holds_folded("\xE2\x84\xAA"
                          "elvin",
                          "kelvin"));
    EXPECT_TRUE(utf8_holds_folded("ab", ""));
    // A two-byte capital whose small letter takes three bytes.
    EXPECT_TRUE(
        utf8_holds_folded("x\xC8\xBA"
                          "B",
                          fold_utf8_text("\xE2\xB1\xA5"
                                         "b")));
    // A match that would run past the end of the line, or into a different
    // letter of the same first byte, is none.
    EXPECT_FALSE(utf8_holds_folded("ЦВЕ", fold_utf8_text("цвет")));
    EXPECT_FALSE(utf8_holds_folded("Цвет", fold_utf8_text("цвех")));
    EXPECT_FALSE(utf8_holds_folded("straße", "strasse"));
    // A byte that is not UTF-8 matches only itself, never the replacement.
    EXPECT_TRUE(utf8_holds_folded("x\xFFy", "\xFFy"));
    EXPECT_FALSE(utf8_holds_folded("x\xFFy", "\xEF\xBF\xBDy"));
    EXPECT_TRUE(utf8_equal_folded("Salt & Pepper", "salt & pepper"));
    EXPECT_FALSE(utf8_equal_folded("salt", "salt "));
}
