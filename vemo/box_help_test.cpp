#include "vemo/box_help.h"

#include <gtest/gtest.h>

#include "vemo/box_layout.h"
#include "vemo/box_options.h"

TEST(BoxHelp, StartsWithTheUsageAndEndsWithTheVersion) {
    std::string help = box_help_text();
    std::string usage = BOX_USAGE_TEXT;
    ASSERT_EQ(help.compare(0, usage.size(), usage), 0);
    EXPECT_EQ(split_fields(help, '\r').back(), "Vemo 1.10");
    // Line feeds after the usage would be measured as characters, and the
    // label would take an ampersand for a shortcut mark.
    EXPECT_EQ(help.find('\n', usage.size()), std::string::npos);
    EXPECT_EQ(help.find('&'), std::string::npos);
}

// Every option the parser takes has a line of its own, and every such line
// names an option the parser takes.
TEST(BoxHelp, HasALineForEveryOptionAndTheExitCodes) {
    std::vector<std::string> lines = split_fields(box_help_text(), '\r');
    std::vector<std::string> options;
    for (const std::string& line : lines) {
        if (!line.empty() && line[0] == '/')
            options.push_back(line.substr(0, line.find(' ')));
    }
    EXPECT_EQ(options,
              (std::vector<std::string>{"/DB=n", "/BW=n", "/WW=n", "/FS=n", "/FF", "/TL=n",
                                        "/BG=#RRGGBB", "/TM=n", "/CR=s", "/AL", "/OT", "/DX=n",
                                        "/DY=n", "/IN", "/PW", "/OEM", "/UTF8", "/IC=i", "/?"}));
    for (const std::string& option : options) {
        if (option == "/?")
            continue;
        EXPECT_EQ(read_box_settings({"T", "X", "B", option}).error_count, 0) << option;
    }
    for (const char* code : {"n  ", "0  ", "255  "}) {
        bool found = false;
        for (const std::string& line : lines)
            found = found || line.rfind(code, 0) == 0;
        EXPECT_TRUE(found) << code;
    }
}
