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
// True when the two texts are equal after folding.
bool utf8_equal_folded(const std::string& a, const std::string& b);
