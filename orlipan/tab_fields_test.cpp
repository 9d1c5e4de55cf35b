#include "orlipan/tab_fields.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string field(const char* line, int index, bool rest = false) {
    FieldSpan span = tab_field(line, index, rest);
    return std::string(span.start, span.length);
}

}  // namespace

TEST(TabFields, EveryTabSeparatesTwoFieldsEvenAtTheEdges) {
    EXPECT_EQ(tab_field_count(""), 1);
    EXPECT_EQ(field("", 0), "");
    EXPECT_EQ(tab_field_count("a\t"), 2);
    EXPECT_EQ(field("a\t", 1), "");
    EXPECT_EQ(tab_field_count("\ta\t\tb"), 4);
    EXPECT_EQ(field("\ta\t\tb", 0), "");
    EXPECT_EQ(field("\ta\t\tb", 2), "");
    EXPECT_EQ(field("\ta\t\tb", 3), "b");
    EXPECT_EQ(tab_field_texts("x\t\ty", 4), (std::vector<std::string>{"x", "", "y", ""}));
    EXPECT_EQ(tab_field_texts("x", 0), std::vector<std::string>{});
}

TEST(TabFields, PastTheLastFieldIsEmptyAtTheLineEndAndRestKeepsTabs) {
    const char* line = "a b\tc\td e";
    FieldSpan past = tab_field(line, 5);
    EXPECT_EQ(past.length, 0u);
    EXPECT_EQ(past.start, line + std::strlen(line));
    EXPECT_EQ(field(line, 1, true), "c\td e");
    EXPECT_EQ(field(line, 2, true), "d e");
    EXPECT_EQ(field(line, 0, true), line);
    EXPECT_EQ(field(line, 3, true), "");
}
