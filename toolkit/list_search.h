// The search a list control asks of the owner of its lines when the user
// types the first letters of a line: which line, from a start line on, begins
// with (or equals) the typed text, compared without regard to case.
#pragma once

#include <functional>
#include <string>

struct ListSearch {
    std::string wanted;
    int start = 0;        // the first line looked at
    bool partial = true;  // a line beginning with `wanted` matches, not only an equal one
    bool wrap = true;     // after the last line, go on from the first
};

// The order of every search: from `start` (0 when out of range) to the last
// line, then, with `wrap`, from the first line up to `start`. Returns the
// first line that `accepts` takes, or -1.
int find_list_line_where(int start, bool wrap, int count, const std::function<bool(int)>& accepts);

// `fold` maps every byte to its case-folded form. Returns the line or -1.
int find_list_line(const ListSearch& search, int count,
                   const std::function<const char*(int)>& text_of, const unsigned char fold[256]);
