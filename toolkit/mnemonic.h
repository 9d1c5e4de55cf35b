// A button's key letter, as a dialog reads it from the caption: "&x" marks x,
// "&&" is an ampersand that marks nothing. And which button a typed letter
// means when several share it. Captions are UTF-8; letters are code points.
#pragma once

#include <string>
#include <vector>

// The case a letter compares in; the system's, in the user's language, on
// Windows.
using LetterFold = char32_t (*)(char32_t letter);

// The character after the first "&" that does not begin a "&&" pair; 0 when
// the caption marks none (an "&" at its end marks nothing).
char32_t caption_key_letter(const std::string& caption);

// The caption as the button draws it: "&&" becomes "&", a marking "&" goes.
std::string caption_without_marks(const std::string& caption);

struct KeyLetterTarget {
    int index = -1;      // the button the letter goes to; -1: none has it
    bool press = false;  // true: it is the only one with the letter
};

// `letters` are the buttons' key letters in focus order (0: none), `focused`
// the focused button's index or -1. The search starts after the focused one
// and wraps round; a letter that one button alone has presses it, a letter
// that several share moves the focus on to the next of them.
KeyLetterTarget key_letter_target(const std::vector<char32_t>& letters, int focused, char32_t typed,
                                  LetterFold fold);
