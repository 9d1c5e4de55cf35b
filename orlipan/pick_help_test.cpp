#include "orlipan/pick_help.h"

#include <gtest/gtest.h>

#include "orlipan/pick_options.h"

namespace {

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

}  // namespace

TEST(PickHelp, StartsWithTheUsageAndEndsWithTheVersion) {
    std::string help = pick_help_text();
    std::string usage = PICK_USAGE_TEXT;
    ASSERT_EQ(help.compare(0, usage.size(), usage), 0);
    EXPECT_EQ(lines_of(help).back(), "Orlipan 2.12");
    EXPECT_EQ(help.find('\n'), std::string::npos);
}

// Every option the parser takes has a line of its own, found from the
// parser's own table, so an option added without its help line fails here;
// and every option line of the help parses as it is written there.
TEST(PickHelp, HasALineForEveryOptionAndTheExitCodes) {
    std::vector<std::string> lines = lines_of(pick_help_text());
    std::vector<std::string> named;
    for (const std::string& line : lines) {
        if (!line.empty() && line[0] == '/')
            named.push_back(line.substr(0, line.find(' ')));
    }
    std::vector<std::string> words = pick_option_words();
    EXPECT_GE(words.size(), 18u);
    for (const std::string& word : words) {
        bool found = false;
        for (const std::string& option : named)
            found = found || (option.rfind("/" + word, 0) == 0 &&
                              (word.back() == '=' || option.size() == word.size() + 1));
        EXPECT_TRUE(found) << word;
    }
    for (const std::string& option : named) {
        if (option == "/?")
            continue;
        // "/sel=N|TEXT" is one form of the value; the help's /query needs /filter;
        // a line count N is given as a count.
        std::string typed = option.substr(0, option.find('|'));
        if (typed.size() > 2 && typed.compare(typed.size() - 2, 2, "=N") == 0)
            typed.back() = '1';
        PickSettings s =
            parse_pick_arguments({"l", typed, "/filter"}, [](const std::string& p) { return p; });
        EXPECT_EQ(s.message, "") << option;
    }
    auto has_line = [&](const std::string& start, const std::string& holding) {
        for (const std::string& line : lines) {
            if (line.rfind(start, 0) == 0 && line.find(holding) != std::string::npos)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(has_line("-  ", "standard input"));
    EXPECT_TRUE(has_line("1 to 255  ", "accepted line"));
    EXPECT_TRUE(has_line("1 to 255  ", "/multi"));
    EXPECT_TRUE(has_line("0  ", "cancel"));
    EXPECT_TRUE(has_line("255  ", "console"));
    EXPECT_TRUE(has_line("255  ", "failed run"));
}
