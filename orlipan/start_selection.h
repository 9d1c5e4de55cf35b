// Where the list starts (/sel=): on a line given by its number, on several
// numbered lines (/multi), or on the first line equal to a text.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct StartSelection {
    bool given = false;
    std::vector<int> numbers;  // 1-based line numbers, as given
    std::string text;          // the line to find, when no numbers are given
};

// Reads the value of /sel=: all digits is a line number, with `multi` digits
// and commas a list of them; anything else is a text. False for a value
// that can name no line: empty, 0, or an empty or 0 entry in a list.
bool read_start_selection(const std::string& value, bool multi, StartSelection* out);

// The 0-based lines to select at the start among `count` lines, in list
// order: a number past the end is the last line, a text the first line that
// `equals_text` accepts. Empty when nothing given names a line; the list
// then starts as it would without /sel.
// A text is looked for from line `from` on, the lines before it known not to
// be equal.
std::vector<int> start_lines(const StartSelection& start, int count,
                             const std::function<bool(int)>& equals_text, int from = 0);
