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

// Every option the parser takes has a line of its own, and every such line
// names an option the parser takes as it is written there.
TEST(PickHelp, HasALineForEveryOptionAndTheExitCodes) {
    std::vector<std::string> lines = lines_of(pick_help_text());
    std::vector<std::string> options;
    for (const std::string& line : lines) {
        if (!line.empty() && line[0] == '/')
            options.push_back(line.substr(0, line.find(' ')));
    }
    EXPECT_EQ(options,
              (std::vector<std::string>{"/quote", "/oemlist", "/oemout", "/cmdcenter", "/menu",
                                        "/ontop", "/fixedfont", "/fs=n", "/bg=#RRGGBB",
                                        "/fc=#RRGGBB", "/dx=n", "/dy=n", "/?"}));
    for (const std::string& option : options) {
        if (option == "/?")
            continue;
        PickSettings s =
            parse_pick_arguments({"l", option}, [](const std::string& p) { return p; });
        EXPECT_EQ(s.message, "") << option;
    }
    for (const char* code : {"1 to 255  ", "0  ", "255  "}) {
        bool found = false;
        for (const std::string& line : lines)
            found = found || line.rfind(code, 0) == 0;
        EXPECT_TRUE(found) << code;
    }
}
