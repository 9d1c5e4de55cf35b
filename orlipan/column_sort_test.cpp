#include "orlipan/column_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

namespace {

struct AsciiFold {
    unsigned char table[256];
    AsciiFold() {
        for (int i = 0; i < 256; ++i)
            table[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
    }
};
const AsciiFold ASCII_FOLD;

bool number(const char* cell, double* value = nullptr) {
    double v = -99;
    bool read = read_number_cell(cell, std::strlen(cell), &v);
    if (value)
        *value = v;
    return read;
}

std::vector<int> order(const std::vector<std::string>& texts, int column, bool descending = false,
                       bool split_tabs = true, LineFold fold = byte_fold(ASCII_FOLD.table)) {
    std::vector<const char*> lines;
    for (const std::string& text : texts)
        lines.push_back(text.c_str());
    ColumnSort sort;
    sort.column = column;
    sort.split_tabs = split_tabs;
    sort.descending = descending;
    return column_order(lines.data(), static_cast<int>(lines.size()), sort, fold);
}

using Order = std::vector<int>;

}  // namespace

// A point needs digits after it; the digits before it may be left out.
TEST(ReadNumberCell, SignsSpacesGroupsAndAPointFollowedByDigits) {
    double v = 0;
    EXPECT_TRUE(number("42", &v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(number(" -3.5 ", &v));
    EXPECT_EQ(v, -3.5);
    EXPECT_TRUE(number("+7", &v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(number("1,234,567", &v));
    EXPECT_EQ(v, 1234567);
    EXPECT_TRUE(number(".5", &v));
    EXPECT_EQ(v, 0.5);
    EXPECT_TRUE(number("-0,001.25", &v));
    EXPECT_EQ(v, -1.25);
    for (const char* text : {"1,23", "1234,567", ",123", "1,234,", "1.", "", " ", "12a", "--1",
                             "1e5", "+", "-.", "1 2", "\t1"})
        EXPECT_FALSE(number(text)) << text;
    // The length bounds the cell: what follows it is not read.
    EXPECT_TRUE(read_number_cell("12\t34", 2, &v));
    EXPECT_EQ(v, 12);
}

TEST(ColumnOrder, NumbersSortByValueWithEmptyCellsFirst) {
    // Column 1 is all numbers or empty (a cell of spaces counts as empty).
    std::vector<std::string> lines = {"a\t100", "b\t9",  "c\t",  "d\t1,000", "e\t-2.5",
                                      "f",      "g\t10", "h\t9", "i\t  "};
    EXPECT_EQ(order(lines, 1), (Order{2, 5, 8, 4, 1, 7, 6, 0, 3}));
    // Unequal cells reverse, equal ones (9 and 9, the empty ones) keep their order.
    EXPECT_EQ(order(lines, 1, true), (Order{3, 0, 6, 1, 7, 4, 2, 5, 8}));
    // One cell that is no number makes the whole column text.
    lines.push_back("j\t9x");
    EXPECT_EQ(order(lines, 1), (Order{2, 5, 8, 4, 3, 6, 0, 1, 7, 9}));
}

TEST(ColumnOrder, LongNumbersEqualAsDoublesCompareByTheirDigits) {
    std::vector<std::string> lines = {"12345678901234567891",
                                      "12345678901234567890",
                                      "12,345,678,901,234,567,890.5",
                                      "-0.00000000000000000001",
                                      "0.0000000000000000000001",
                                      "0",
                                      "-0"};
    EXPECT_EQ(order(lines, 0), (Order{3, 5, 6, 4, 1, 2, 0}));
    std::vector<std::string> huge = {"1" + std::string(400, '0') + "1", "1" + std::string(400, '0'),
                                     "-" + std::string(401, '9')};
    EXPECT_EQ(order(huge, 0), (Order{2, 1, 0}));
}

TEST(ColumnOrder, TextFoldsCaseAndKeepsEqualCellsInListOrder) {
    std::vector<std::string> lines = {"1\tb", "2\tA", "3\ta", "4\tB", "5\tab", "6\t", "7\ta "};
    EXPECT_EQ(order(lines, 1), (Order{5, 1, 2, 6, 4, 0, 3}));
    EXPECT_EQ(order(lines, 1, true), (Order{0, 3, 4, 6, 1, 2, 5}));
    // Bytes above 127 come after ASCII, as unsigned bytes.
    EXPECT_EQ(order({"\xE9t\xE9", "zz", "ZA"}, 0), (Order{2, 1, 0}));
    // Without tab splitting the whole line is the cell: "b\t1" < "b\t2" as text.
    EXPECT_EQ(order({"b\t2", "a\t9", "b\t1"}, 0, false, false), (Order{1, 2, 0}));
    EXPECT_EQ(order({"10", "9", "100"}, 0, false, false), (Order{1, 0, 2}));
    EXPECT_EQ(order({}, 0), Order{});
}

TEST(ColumnOrder, Utf8CellsFoldPerCharacter) {
    std::vector<std::string> lines = {"\xC3\xA4rger", "B",       "\xC3\x84RA", "a",
                                      "\xCE\xA9",     "\xCF\x89"};
    // Folded: "ärger", "b", "ära", "a", "ω", "ω": a, b, ära, ärger, ω, ω.
    EXPECT_EQ(order(lines, 0, false, true, unicode_fold()), (Order{3, 1, 2, 0, 4, 5}));
    // A byte table folds only what it holds: "Ä" and "ä" stay apart.
    EXPECT_EQ(order({"\xC3\xA4", "\xC3\x84"}, 0), (Order{1, 0}));
    EXPECT_EQ(order({"\xC3\xA4", "\xC3\x84"}, 0, false, true, unicode_fold()), (Order{0, 1}));
    // Bytes that are not UTF-8 stay as they are; U+FFFD itself is a character.
    EXPECT_EQ(
        order({"\xFF", "\xC3\x84", "A", "\xEF\xBF\xBD", "\xC3"}, 0, false, true, unicode_fold()),
        (Order{2, 4, 1, 3, 0}));
}

// Many lines with long shared starts take the eight-bytes-at-a-time path; the
// result must be what a plain stable sort of the folded cells gives.
TEST(ColumnOrder, LargeColumnsMatchAPlainStableSort) {
    std::mt19937 random(19);
    for (bool numbers : {false, true}) {
        std::vector<std::string> lines;
        std::vector<std::string> keys;
        std::vector<double> values;
        for (int i = 0; i < 3000; ++i) {
            std::string cell;
            if (numbers) {
                values.push_back(static_cast<double>(static_cast<int>(random() % 200) - 100));
                cell = std::to_string(static_cast<int>(values.back()));
            } else {
                cell = std::string(random() % 3 * 7, 'p');
                for (size_t n = random() % 12; n > 0; --n)
                    cell += "aBbA"[random() % 4];
                std::string folded = cell;
                for (char& c : folded)
                    c = static_cast<char>(ASCII_FOLD.table[static_cast<unsigned char>(c)]);
                keys.push_back(folded);
            }
            lines.push_back("x\t" + cell);
        }
        for (bool descending : {false, true}) {
            std::vector<int> expected(lines.size());
            for (size_t i = 0; i < expected.size(); ++i)
                expected[i] = static_cast<int>(i);
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                if (numbers)
                    return descending ? values[a] > values[b] : values[a] < values[b];
                bool a_empty = keys[a].empty();
                if (a_empty != keys[b].empty())
                    return a_empty != descending;
                return descending ? keys[a] > keys[b] : keys[a] < keys[b];
            });
            EXPECT_EQ(order(lines, 1, descending), expected) << numbers << descending;
        }
    }
}
