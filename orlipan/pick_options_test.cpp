#include "orlipan/pick_options.h"

#include <gtest/gtest.h>

#include "orlipan/pick_help.h"

namespace {

// Stands in for the system's path expansion: marks what it was given.
std::string fake_expand(const std::string& path) {
    return "C:\\work\\" + path;
}

PickSettings parse(const std::vector<std::string>& arguments) {
    return parse_pick_arguments(arguments, fake_expand);
}

}  // namespace

TEST(PickOptions, PositionalArgumentsFillFileTitleAndTemplate) {
    PickSettings s = parse({"list.txt", "Pick one", "set x=$item"});
    EXPECT_EQ(s.list_file, "C:\\work\\list.txt");
    EXPECT_EQ(s.title, "Pick one");
    EXPECT_EQ(s.output_string, "set x=$item");
    EXPECT_EQ(s.message, "");
    EXPECT_EQ(s.font_face, "Verdana");
    EXPECT_EQ(s.font_size, 9);
    EXPECT_EQ(s.back_color, 0xFFFFFFu);
    EXPECT_EQ(s.text_color, 0u);
}

TEST(PickOptions, NoPositionalArgumentGivesTheUsageText) {
    for (auto args : {std::vector<std::string>{}, std::vector<std::string>{"/menu"}}) {
        PickSettings s = parse(args);
        EXPECT_EQ(s.message, PICK_USAGE_TEXT);
    }
    std::string usage = PICK_USAGE_TEXT;
    size_t cut = usage.find("\r\r");
    ASSERT_NE(cut, std::string::npos);
    EXPECT_GT(cut, 0u);
    EXPECT_EQ(usage.substr(cut + 2),
              "Syntax: ORLIPAN ListFile Title [OutputString] [Options] [> OutputFile]");
    EXPECT_EQ(usage.find('\n'), std::string::npos);
}

TEST(PickOptions, WordOptionsIgnoreCaseAndOnlyAddBits) {
    PickSettings s =
        parse({"/Quote", "/OEMLIST", "/oemout", "/CmdCenter", "/menu", "/ontop", "l", "/quote"});
    EXPECT_EQ(s.message, "");
    EXPECT_EQ(s.flags, 1u | 2u | 4u | 8u | 16u | 64u);
    EXPECT_EQ(parse({"l", "/fixedfont"}).font_face, "Lucida Console");
    EXPECT_EQ(parse({"l", "/fixedfont"}).flags, 0u);
}

TEST(PickOptions, UnknownOptionIsReportedAsTypedAndStopsParsing) {
    EXPECT_EQ(parse({"l", "/Quote2"}).message, "Invalid Option: /Quote2");
    EXPECT_EQ(parse({"l", "/"}).message, "Invalid Option: /");
    EXPECT_EQ(parse({"l", "/fsx=1"}).message, "Invalid Option: /fsx=1");
    EXPECT_EQ(parse({"l", "/fs"}).message, "Invalid Option: /fs");
    // Before any positional argument it wins over the usage text.
    EXPECT_EQ(parse({"/nope"}).message, "Invalid Option: /nope");
    PickSettings s = parse({"l", "/bad", "/menu", "a", "b", "c"});
    EXPECT_EQ(s.message, "Invalid Option: /bad");
    EXPECT_EQ(s.flags, 0u);
    EXPECT_EQ(s.title, "");
}

TEST(PickOptions, Utf8GoesWithAnythingButTheOemConversions) {
    EXPECT_EQ(parse({"l", "/UTF8", "/menu", "/quote"}).flags,
              PICK_FLAG_UTF8 | PICK_FLAG_MENU | PICK_FLAG_QUOTE);
    for (auto args : {std::vector<std::string>{"l", "/utf8", "/oemlist"},
                      std::vector<std::string>{"/oemout", "l", "T", "/utf8"},
                      std::vector<std::string>{"/utf8", "/oemout"}}) {
        EXPECT_EQ(parse(args).message, "Invalid Option: /utf8");
    }
    // A fault earlier on the line is the one reported.
    EXPECT_EQ(parse({"l", "/utf8", "/bad", "/oemlist"}).message, "Invalid Option: /bad");
}

TEST(PickOptions, FourthPositionalArgumentIsReported) {
    PickSettings s = parse({"a.txt", "T", "out", "extra", "/bad"});
    EXPECT_EQ(s.message, "Invalid argument: extra");
    EXPECT_EQ(s.output_string, "out");
}

TEST(PickOptions, DashOrEmptyArgumentsArePositional) {
    PickSettings s = parse({"-menu", ""});
    EXPECT_EQ(s.list_file, "C:\\work\\-menu");
    EXPECT_EQ(s.positional_count, 2);
    EXPECT_EQ(s.flags, 0u);
    EXPECT_EQ(s.title, "");
}

TEST(PickOptions, EmptyListFileIsPassedToTheExpanderAsIs) {
    std::vector<std::string> seen;
    PickSettings s = parse_pick_arguments({"", "T"}, [&](const std::string& p) {
        seen.push_back(p);
        return p;
    });
    EXPECT_EQ(seen, std::vector<std::string>{""});
    EXPECT_EQ(s.list_file, "");
    EXPECT_EQ(s.message, "");
}

TEST(PickOptions, ValueOptionsReadNumbersAndColours) {
    PickSettings s = parse({"l", "/fs=12pt", "/dx=-40", "/dy=$10", "/fc=#FF8000", "/BG=255"});
    EXPECT_EQ(s.font_size, 12);
    EXPECT_EQ(s.offset_x, -40);
    EXPECT_EQ(s.offset_y, 16);
    EXPECT_EQ(s.text_color, 0x0080FFu);
    EXPECT_EQ(s.back_color, 0xFF0000u);  // 255 read as 0x0000FF: blue
    EXPECT_EQ(parse({"l", "/bg=#FF0000"}).back_color, 0x0000FFu);
    EXPECT_EQ(parse({"l", "/bg=$ff0000"}).back_color, 0x0000FFu);
    EXPECT_EQ(parse({"l", "/fs=#10"}).font_size, 16);
}

TEST(PickOptions, ZeroMeansNotGivenForFontSizeAndBackground) {
    PickSettings s = parse({"l", "/fs=0", "/bg=#000000"});
    EXPECT_EQ(s.font_size, 9);
    EXPECT_EQ(s.back_color, 0xFFFFFFu);
    EXPECT_EQ(parse({"l", "/fs="}).font_size, 9);
}

TEST(PickOptions, LaterValueWinsAndHighColourBitsAreDropped) {
    PickSettings s = parse({"l", "/dx=5", "/dx=-5000", "/fc=$FF123456"});
    EXPECT_EQ(s.offset_x, -5000);
    EXPECT_EQ(s.text_color, 0x563412u);
    // Only the low 32 bits of the value are kept.
    EXPECT_EQ(parse({"l", "/dy=99999999999"}).offset_y, 1215752191);
}

TEST(PickOptions, HelpArgumentAnywhereShowsOnlyTheHelp) {
    std::vector<std::vector<std::string>> lines = {
        {"/?"}, {"l", "T", "/?", "/menu"}, {"/nope", "/?"}, {"a", "b", "c", "extra", "/?"}};
    for (const std::vector<std::string>& args : lines) {
        SCOPED_TRACE(args.size());
        PickSettings s = parse(args);
        EXPECT_EQ(s.message, pick_help_text());
        EXPECT_EQ(s.flags, 0u);
        EXPECT_EQ(s.list_file, "");
    }
    // Only the exact argument asks for help.
    EXPECT_EQ(parse({"l", "/?x"}).message, "Invalid Option: /?x");
    EXPECT_EQ(parse({"l", "/ ?"}).message, "Invalid Option: / ?");
    EXPECT_EQ(parse({"-?"}).list_file, "C:\\work\\-?");
}

TEST(PickOptions, FilterAndMultiAreWordOptionsButMultiRefusesMenuMode) {
    EXPECT_EQ(parse({"l", "/Filter", "/MULTI"}).flags, 128u | 256u);
    EXPECT_EQ(parse({"l", "/filter", "/menu"}).message, "");
    // Whichever comes first, the report names /multi as typed.
    EXPECT_EQ(parse({"l", "/Multi", "/menu"}).message, "Invalid Option: /Multi");
    EXPECT_EQ(parse({"/menu", "l", "/multi"}).message, "Invalid Option: /multi");
    // Only the first fault in the order of the command line is reported.
    EXPECT_EQ(parse({"l", "/bad", "/multi", "/menu"}).message, "Invalid Option: /bad");
    EXPECT_EQ(parse({"l", "/multi", "/menu", "/bad"}).message, "Invalid Option: /multi");
}

TEST(PickOptions, SelectionAndQueryKeepTheirValueAsTyped) {
    PickSettings s = parse({"l", "/SEL=Salt & Pepper", "/filter", "/Query=#Ab c", "/auto"});
    EXPECT_EQ(s.message, "");
    EXPECT_EQ(s.start.text, "Salt & Pepper");
    EXPECT_TRUE(s.start.numbers.empty());
    EXPECT_EQ(s.query, "#Ab c");
    EXPECT_EQ(s.flags, PICK_FLAG_FILTER | PICK_FLAG_AUTO);
    // The later value wins; /multi, wherever it stands, makes "2,5" numbers.
    s = parse({"l", "/sel=4", "/sel=2,5", "/multi"});
    EXPECT_EQ(s.start.numbers, (std::vector<int>{2, 5}));
    EXPECT_EQ(parse({"l", "/sel=2,5"}).start.text, "2,5");
    EXPECT_FALSE(parse({"l"}).start.given);
    // Without the new options nothing of them is set.
    EXPECT_EQ(parse({"l", "/filter"}).query, "");
}

TEST(PickOptions, BadSelectionAndLoneQueryAreReportedAsTyped) {
    EXPECT_EQ(parse({"l", "/Sel=0"}).message, "Invalid Option: /Sel=0");
    EXPECT_EQ(parse({"l", "/sel="}).message, "Invalid Option: /sel=");
    EXPECT_EQ(parse({"l", "/sel=2,,5", "/multi"}).message, "Invalid Option: /sel=2,,5");
    EXPECT_EQ(parse({"l", "/sel"}).message, "Invalid Option: /sel");
    EXPECT_EQ(parse({"l", "/Query=red"}).message, "Invalid Option: /Query=red");
    EXPECT_EQ(parse({"l", "/query="}).message, "Invalid Option: /query=");
    EXPECT_EQ(parse({"/query=x", "/filter", "l"}).message, "");
    EXPECT_EQ(parse({"l", "/autox"}).message, "Invalid Option: /autox");
    // A fault found at once on the line wins over these, found at its end.
    EXPECT_EQ(parse({"l", "/sel=0", "/bad"}).message, "Invalid Option: /bad");
}

TEST(FileNamePart, IsTheTextAfterTheLastSlash) {
    EXPECT_EQ(file_name_part("C:\\data\\list.txt"), "list.txt");
    EXPECT_EQ(file_name_part("C:/data/sub\\x.lst"), "x.lst");
    EXPECT_EQ(file_name_part("plain.txt"), "plain.txt");
    EXPECT_EQ(file_name_part("C:\\dir\\"), "");
    EXPECT_EQ(file_name_part(""), "");
    EXPECT_EQ(file_name_part("C:\\a\\b.txt\" tail"), "b.txt");
}

TEST(PickOptions, TabAndHeaderLines) {
    PickSettings s = parse({"l", "/TAB", "/Header=3", "/multi", "/header=2"});
    EXPECT_EQ(s.message, "");
    EXPECT_EQ(s.flags, PICK_FLAG_TAB | PICK_FLAG_MULTI);
    EXPECT_EQ(s.header_lines, 2);
    EXPECT_EQ(parse({"l", "/HEADER=9"}).header_lines, 9);
    EXPECT_EQ(parse({"l", "/header=01"}).header_lines, 1);
    EXPECT_EQ(parse({"l", "/menu"}).header_lines, 0);
    for (const char* bad :
         {"/header=0", "/header=10", "/header=", "/Header=2x", "/header=-1", "/header= 2",
          "/header", "/headers=2", "/header=99999999999", "/tabs"}) {
        PickSettings b = parse({"l", bad, "/bad"});
        EXPECT_EQ(b.message, std::string("Invalid Option: ") + bad);
        EXPECT_EQ(b.header_lines, 0);
    }
    // In either order the report names /tab as typed.
    EXPECT_EQ(parse({"l", "/Tab", "/menu"}).message, "Invalid Option: /Tab");
    EXPECT_EQ(parse({"/MENU", "l", "/TAB"}).message, "Invalid Option: /TAB");
    EXPECT_EQ(parse({"l", "/tab", "/filter", "/utf8"}).message, "");
}
