// The fields of a line under /tab: every tab character separates two fields,
// so a line holds one field more than it has tabs and an empty line holds one
// empty field. Nothing else (quotes, spaces) delimits or escapes a field.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The list shows at most this many columns; the last shown column holds the
// rest of a line that has more fields, tabs and all, so no text is hidden.
constexpr int TAB_COLUMN_LIMIT = 64;
// $1 .. $9 in the output template.
constexpr int TAB_TEMPLATE_FIELDS = 9;

struct FieldSpan {
    const char* start = nullptr;
    size_t length = 0;
};

// Field `index` (0-based) of the zero-terminated `line`; an empty span (at the
// line's end) past its last field. With `rest`, the span runs from the start
// of that field to the end of the line.
FieldSpan tab_field(const char* line, int index, bool rest = false);
// Tabs plus one.
int tab_field_count(const char* line);
// The first `count` fields as texts, "" for those the line does not have.
std::vector<std::string> tab_field_texts(const std::string& line, int count);
