// Typing in the filter box narrows the list: a line is shown when it holds
// every space-separated word of the box, compared without regard to case, and
// the shown lines keep their order. An empty box shows every line.
#pragma once

#include <string>
#include <vector>

// The lines a filter shows, by their numbers in the whole list.
struct ShownLines {
    bool all = true;        // every line: the box is empty
    std::vector<int> rows;  // otherwise the shown line numbers, in order
    std::string text;       // the box text that chose them
};

// How case is folded: byte by byte through a table of the lines' code page
// (byte value to its folded form), or, for UTF-8 lines, by character in
// every script, where folding single bytes could only fold A-Z.
struct LineFold {
    const unsigned char* table = nullptr;
    bool unicode = false;
};
LineFold byte_fold(const unsigned char fold[256]);
LineFold unicode_fold();
// UTF-8 lines fold in every script; other lines as the ANSI code page and
// the user's language settings have it.
LineFold fold_for_lines(bool utf8);
// True when `line` equals `text` after folding.
bool line_equals(const char* line, const std::string& text, const LineFold& fold);

// The words of a box text, case-folded by `fold`.
std::vector<std::string> filter_words(const std::string& text, const LineFold& fold);
// True when `line` holds every one of the folded `words`.
bool line_matches(const char* line, const std::vector<std::string>& words, const LineFold& fold);
// Empty or only spaces: a separator in menu mode.
bool is_blank_line(const char* line);

// Brings `shown` to the lines among lines[0 .. count - 1] that `text` matches;
// with `hide_blank`, blank lines are left out while the text is not empty.
// With an `order` (the line numbers 0 .. count - 1 in the order the list shows
// them, as a sort leaves them) the shown rows keep that order.
void filter_lines(ShownLines* shown, const std::string& text, const char* const* lines, int count,
                  bool hide_blank, const LineFold& fold, const std::vector<int>* order = nullptr);

// Lines that join the list after `shown` was made by filter_lines over
// lines[0 .. from - 1], in the list's own order: appends those among
// lines[from .. to - 1] that its text matches, in order. An empty box shows
// every line already.
void filter_more_lines(ShownLines* shown, const char* const* lines, int from, int to,
                       bool hide_blank, const LineFold& fold);

inline int shown_count(const ShownLines& shown, int total) {
    return shown.all ? total : static_cast<int>(shown.rows.size());
}
inline int shown_line(const ShownLines& shown, int row) {
    return shown.all ? row : shown.rows[static_cast<size_t>(row)];
}
