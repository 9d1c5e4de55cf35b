#include "toolkit/mnemonic.h"

#include <gtest/gtest.h>

namespace {

// ASCII and the Cyrillic capitals А..Я, as the system folds them.
char32_t fold_upper(char32_t c) {
    if (c >= U'a' && c <= U'z') {
        return c - 32;
    }
    if (c >= U'а' && c <= U'я') {
        return c - 32;
    }
    return c;
}

}  // namespace

TEST(CaptionKeyLetter, TheFirstSingleAmpersandMarksWhatFollowsIt) {
    EXPECT_EQ(caption_key_letter("&Yes"), U'Y');
    EXPECT_EQ(caption_key_letter("Save &as"), U'a');
    EXPECT_EQ(caption_key_letter("R&&D &now &later"), U'n');
    EXPECT_EQ(caption_key_letter("&&&x"), U'x');
    EXPECT_EQ(caption_key_letter("&Да"), U'Д');
    EXPECT_EQ(caption_key_letter("R&&D"), 0u);
    EXPECT_EQ(caption_key_letter("Cancel"), 0u);
    EXPECT_EQ(caption_key_letter("End&"), 0u);
    EXPECT_EQ(caption_key_letter(""), 0u);
}

TEST(CaptionKeyLetter, TheCaptionWithoutMarksIsWhatTheButtonDraws) {
    EXPECT_EQ(caption_without_marks("&Yes"), "Yes");
    EXPECT_EQ(caption_without_marks("R&&D &now"), "R&D now");
    EXPECT_EQ(caption_without_marks("&Нет"), "Нет");
    EXPECT_EQ(caption_without_marks("End&"), "End");
    EXPECT_EQ(caption_without_marks("&&&&"), "&&");
}

TEST(KeyLetterTarget, ALetterOfOneButtonPressesItInEitherCase) {
    const std::vector<char32_t> letters = {U'Y', U'N', 0};
    KeyLetterTarget no = key_letter_target(letters, 0, U'n', fold_upper);
    EXPECT_EQ(no.index, 1);
    EXPECT_TRUE(no.press);
    EXPECT_EQ(key_letter_target(letters, -1, U'Y', fold_upper).index, 0);
    EXPECT_EQ(key_letter_target(letters, 2, U'x', fold_upper).index, -1);
    EXPECT_FALSE(key_letter_target(letters, 2, U'x', fold_upper).press);
    EXPECT_EQ(key_letter_target({U'Д', U'Н'}, 0, U'н', fold_upper).index, 1);
    EXPECT_EQ(key_letter_target({}, -1, U'a', fold_upper).index, -1);
}

TEST(KeyLetterTarget, ASharedLetterMovesTheFocusToTheNextOfItsButtonsRoundTheEnd) {
    const std::vector<char32_t> letters = {U'S', U'x', U's', U'S'};
    KeyLetterTarget from_none = key_letter_target(letters, -1, U's', fold_upper);
    EXPECT_EQ(from_none.index, 0);
    EXPECT_FALSE(from_none.press);
    EXPECT_EQ(key_letter_target(letters, 0, U's', fold_upper).index, 2);
    EXPECT_EQ(key_letter_target(letters, 1, U's', fold_upper).index, 2);
    EXPECT_EQ(key_letter_target(letters, 2, U's', fold_upper).index, 3);
    EXPECT_EQ(key_letter_target(letters, 3, U's', fold_upper).index, 0);
    // The only other button's letter still presses from a shared one.
    EXPECT_TRUE(key_letter_target(letters, 0, U'X', fold_upper).press);
}
