// Every function that reads the bytes of list lines outside the line store:
// the number cells and the sort by a column, the tab fields, the UTF-8 case
// folding and the template's $item and $1 .. $9. The input is a template,
// then lines, split at line feeds. Besides ending without sanitizer reports,
// what the headers promise must hold for any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "orlipan/column_sort.h"
#include "orlipan/number_cell.h"
#include "orlipan/pick_output.h"
#include "orlipan/tab_fields.h"
#include "orlipan/unicode_fold.h"

namespace {

// A ready fold table, as the ANSI code page's would be: A-Z to a-z.
const unsigned char* ascii_fold_table() {
    static unsigned char table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
    return table;
}

void check_fields(const std::string& line) {
    const char* text = line.c_str();
    size_t length = std::strlen(text);
    int count = tab_field_count(text);
    size_t covered = static_cast<size_t>(count - 1);  // the tabs between the fields
    for (int i = 0; i < count; ++i) {
        FieldSpan field = tab_field(text, i);
        if (field.start < text || field.start + field.length > text + length ||
            std::memchr(field.start, '\t', field.length))
            abort();
        covered += field.length;
        FieldSpan rest = tab_field(text, i, true);
        if (rest.start != field.start || rest.start + rest.length != text + length)
            abort();
    }
    if (covered != length || tab_field(text, count).length != 0)
        abort();
    std::vector<std::string> texts = tab_field_texts(text, TAB_TEMPLATE_FIELDS);
    if (texts.size() != static_cast<size_t>(TAB_TEMPLATE_FIELDS))
        abort();
}

void check_number(const std::string& line) {
    NumberScan scan;
    if (!scan_number_cell(line.data(), line.size(), &scan))
        return;
    double value = number_value(scan);
    if (value != value)  // never NaN
        abort();
    double read = 0;
    if (!read_number_cell(line.data(), line.size(), &read) || read != value)
        abort();
    ExactNumber exact = exact_number(scan);
    if (compare_exact_numbers(exact, exact) != 0 || (is_long_number(scan) && exact.digits.empty()))
        abort();
}

void check_fold(const std::string& line) {
    std::string folded = fold_utf8_text(line);
    if (fold_utf8_text(folded) != folded || !utf8_equal_folded(line, folded))
        abort();
    // A line holds its own folded text, and so every piece of it.
    const char* text = line.c_str();
    std::string whole = fold_utf8_text(text);
    if (!utf8_holds_folded(text, whole))
        abort();
}

void check_order(const std::vector<std::string>& lines, bool split_tabs, bool utf8) {
    std::vector<const char*> pointers;
    for (const std::string& line : lines)
        pointers.push_back(line.c_str());
    ColumnSort sort;
    sort.split_tabs = split_tabs;
    sort.column = split_tabs ? static_cast<int>(lines.size() % 3) : 0;
    sort.descending = lines.size() % 2 != 0;
    LineFold fold;
    fold.table = utf8 ? nullptr : ascii_fold_table();
    fold.unicode = utf8;
    std::vector<int> order =
        column_order(pointers.data(), static_cast<int>(pointers.size()), sort, fold);
    // A permutation of the lines.
    std::vector<bool> seen(lines.size());
    if (order.size() != lines.size())
        abort();
    for (int line : order) {
        if (line < 0 || static_cast<size_t>(line) >= lines.size() || seen[line])
            abort();
        seen[line] = true;
    }
}

void check_output(const std::string& output_string, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        // The line as it is, never read again as a template.
        if (make_pick_output("$item", line, false) != line)
            abort();
        if (make_pick_output("$1", line, false, true) != tab_field_texts(line, 1)[0])
            abort();
        make_pick_output(output_string, line, true, true);
        make_pick_output(output_string, line, false, false);
    }
    make_multi_output(
        output_string, static_cast<int>(lines.size()),
        [&](int i) { return lines[static_cast<size_t>(i)]; }, lines.size() % 2 == 0, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> pieces(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            pieces.emplace_back();
        else
            pieces.back() += static_cast<char>(data[i]);
    }
    const std::string output_string = pieces.front();
    std::vector<std::string> lines(pieces.begin() + 1, pieces.end());
    for (const std::string& line : lines) {
        check_fields(line);
        check_number(line);
        check_fold(line);
    }
    check_order(lines, true, size % 2 == 0);
    check_order(lines, false, size % 2 != 0);
    check_output(output_string, lines);
    return 0;
}
