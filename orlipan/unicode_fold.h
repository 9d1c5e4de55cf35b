// Case folding for UTF-8 lists (/utf8): every script's upper and lower case
// count as the same letter, one character for one (the simple folding of the
// Unicode standard), so "Цвет" folds as "цвет" and "ΧΡΏΜΑ" as "χρώμα".
// Foldings that change the length (German sharp s to "ss") are not made.
#pragma once

#include <string>

// The folded form of one code point; itself when it has none.
char32_t fold_code_point(char32_t code_point);
// `text` with every character folded; bytes that are not UTF-8 stay as they are.
std::string fold_utf8_text(const std::string& text);
// True when `line` holds the folded text `word` (from fold_utf8_text), each
// character of the line folded as it is compared.
bool utf8_holds_folded(const char* line, const std::string& word);
// For a search of many lines: `stops` marks the bytes where a search for
// `word` must look closer (the line's end, every byte above ASCII and the
// ASCII letters that fold to the word's first byte), made once for the word
// by utf8_search_stops; every other byte is passed over unread.
void utf8_search_stops(const std::string& word, unsigned char stops[256]);
bool utf8_holds_folded(const char* line, const std::string& word, const unsigned char stops[256]);

// The first byte from `at` on that `stops` marks (its zero always is). Four
// bytes a round: the loop's own jump would cost as much as the test.
inline const unsigned char* next_stop(const unsigned char* at, const unsigned char stops[256]) {
    for (;; at += 4) {
        if (stops[at[0]])
            return at;
        if (stops[at[1]])
            return at + 1;
        if (stops[at[2]])
            return at + 2;
        if (stops[at[3]])
            return at + 3;
    }
}
// True when the two texts are equal after folding.
bool utf8_equal_folded(const std::string& a, const std::string& b);
