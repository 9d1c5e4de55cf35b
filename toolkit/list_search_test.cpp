#include "toolkit/list_search.h"

#include <gtest/gtest.h>

#include <vector>

#include "frame/text.h"

namespace {

const std::vector<const char*> LINES = {"Apple", "banana", "apricot", "Banana split", "", "cherry"};

int find(const std::string& wanted, int start, bool partial = true, bool wrap = true) {
    ListSearch search;
    search.wanted = wanted;
    search.start = start;
    search.partial = partial;
    search.wrap = wrap;
    return find_list_line(
        search, (int)LINES.size(), [](int i) { return LINES[i]; }, ascii_fold_table());
}

}  // namespace

TEST(ListSearch, FirstLettersFindTheNextLineFromTheStartIgnoringCase) {
    EXPECT_EQ(find("a", 0), 0);
    EXPECT_EQ(find("A", 1), 2);   // the start line itself counts
    EXPECT_EQ(find("ap", 3), 0);  // wraps round
    EXPECT_EQ(find("ap", 3, true, false), -1);
    EXPECT_EQ(find("BANANA ", 0), 3);
    EXPECT_EQ(find("cherry pie", 0), -1);  // longer than the line
    EXPECT_EQ(find("x", 0), -1);
}

TEST(ListSearch, WholeTextSearchAndOddStarts) {
    EXPECT_EQ(find("banana", 0, false), 1);
    EXPECT_EQ(find("Banana", 2, false), 1);  // not the longer "Banana split"
    EXPECT_EQ(find("", 4, false), 4);
    EXPECT_EQ(find("c", -1), 5);  // a start outside the list means the first line
    EXPECT_EQ(find("c", 99), 5);
    ListSearch search;
    unsigned char fold[256] = {};
    EXPECT_EQ(find_list_line(
                  search, 0, [](int) { return ""; }, fold),
              -1);
}
