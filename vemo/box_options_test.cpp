#include "vemo/box_options.h"

#include <gtest/gtest.h>

#include "vemo/box_help.h"

namespace {

BoxSettings settings_of(const std::vector<std::string>& arguments) {
    return read_box_settings(arguments);
}

}  // namespace

TEST(BoxOptions, ThreePositionalArgumentsKeepTheDefaultLook) {
    BoxSettings s = settings_of({"T", "X", "A;B"});
    EXPECT_EQ(s.title, "T");
    EXPECT_EQ(s.text, "X");
    EXPECT_EQ(s.buttons, "A;B");
    EXPECT_EQ(s.font_name, "MS Shell DLG 2");
    EXPECT_EQ(s.font_size, 9);
    EXPECT_EQ(s.center_text, 1);
    EXPECT_EQ(s.default_button, 1);
    EXPECT_EQ(s.error_count, 0);
    EXPECT_EQ(s.exit_code, 255);
}

TEST(BoxOptions, KeysIgnoreCaseAndNumbersAcceptHexWrittenWithHash) {
    for (const char* option : {"/fs=12", "/FS=12", "/FS=$0C", "/Fs=#0C"}) {
        EXPECT_EQ(settings_of({"T", "X", "B", option}).font_size, 12) << option;
    }
    EXPECT_EQ(settings_of({"/TM=5", "/tm=", "T", "X", "B"}).timeout, 0);
    EXPECT_EQ(settings_of({"T", "/DB=7", "X", "B", "/db=2"}).default_button, 2);
}

TEST(BoxOptions, BackgroundIsWrittenRedGreenBlueAndStoredRedLowest) {
    EXPECT_EQ(settings_of({"T", "X", "B", "/BG=#FF8000"}).background, 0x0080FF);
    EXPECT_EQ(settings_of({"T", "X", "B", "/BG=255"}).background, 0xFF0000);
    EXPECT_EQ(settings_of({"T", "X", "B", "/BG=#000000"}).background, 0);
}

TEST(BoxOptions, KeysWithoutEqualsSignMatchOnlyExactlyThreeCharacters) {
    BoxSettings s = settings_of({"T", "X", "B", "/ff", "/al", "/Ot"});
    EXPECT_EQ(s.font_name, "Lucida Console");
    EXPECT_EQ(s.center_text, 0);
    EXPECT_EQ(s.on_top, 1);
    EXPECT_EQ(s.error_count, 0);
    BoxSettings bad = settings_of({"T", "X", "B", "/FFX", "/FF=1", "/", "-FF"});
    EXPECT_EQ(bad.invalid_options, "  /FFX  /FF=1  /");
    EXPECT_EQ(bad.excess_arguments, "  -FF");
    EXPECT_EQ(bad.error_count, 4);
}

TEST(BoxOptions, ErrorReportListsExcessArgumentsThenInvalidOptions) {
    BoxSettings s = settings_of({"T", "X", "B", "extra", "/q", "/FS=12", "/DB=2", "/BG=#0000FF"});
    EXPECT_EQ(s.text, "Syntax error:\rExcess argument(s):  extra\rInvalid option(s):  /q");
    EXPECT_EQ(s.title, "Vemo 1.10");
    EXPECT_EQ(s.buttons, "Quit");
    EXPECT_EQ(s.window_width, 380);
    EXPECT_EQ(s.center_text, 0);
    // Valid options still shape the error box.
    EXPECT_EQ(s.font_size, 12);
    EXPECT_EQ(s.default_button, 2);
    EXPECT_EQ(s.background, 0xFF0000);
    EXPECT_EQ(settings_of({"T", "X", "B", "/WW=900", "/BW=50", "/x"}).button_width, 0);
    EXPECT_EQ(settings_of({"/x"}).text, "Syntax error:\rInvalid option(s):  /x");
    EXPECT_EQ(settings_of({"a", "b", "c", "d"}).text, "Syntax error:\rExcess argument(s):  d");
}

TEST(BoxOptions, NoArgumentsShowTheUsageInTheErrorBox) {
    BoxSettings s = settings_of({});
    EXPECT_EQ(s.text,
              "Shows a message box and returns the number of the button pressed.\r\n\r\n"
              "Syntax: Vemo \"title\" \"text\" \"button1;button2..\" [options]");
    EXPECT_EQ(s.error_count, 1);
    EXPECT_EQ(s.title, "Vemo 1.10");
    EXPECT_EQ(s.buttons, "Quit");
    EXPECT_EQ(settings_of({"/TM=5"}).buttons, "Quit  -$");
}

TEST(BoxOptions, MissingButtonsGetACountdownPlaceHolderButOwnCaptionsDoNot) {
    BoxSettings two = settings_of({"T", "X", "/TM=5"});
    EXPECT_EQ(two.buttons, "Button?  -$");
    EXPECT_EQ(two.error_count, 0);
    EXPECT_EQ(settings_of({"T", "/TM=5"}).text, "Text?");
    EXPECT_EQ(settings_of({"T", "X", "Go", "/TM=5"}).buttons, "Go");
    EXPECT_EQ(settings_of({"", "Hi", "OK"}).title, "Vemo ");
}

TEST(BoxOptions, TextRewritingTurnsMarkersIntoBreaksAndApostrophesIntoQuotes) {
    EXPECT_EQ(settings_of({"T", "a^b", "B"}).text, "a\rb");
    EXPECT_EQ(settings_of({"T", "Say ''hi''", "B"}).text, "Say \"hi\"");
    EXPECT_EQ(settings_of({"T", "a|b^c", "B", "/CR=|"}).text, "a\rb^c");
    EXPECT_EQ(settings_of({"T", "a^b", "B", "/CR="}).text, "a^b");
    // The marker is taken as typed: no upper-casing, no "#" replacement.
    EXPECT_EQ(settings_of({"T", "x#ny#NzN", "B", "/cr=#n"}).text, "x\ry#NzN");
    // Break markers go first, so a marker "'" leaves no pair of apostrophes.
    EXPECT_EQ(settings_of({"T", "a''b", "B", "/CR='"}).text, "a\r\rb");
}

TEST(BoxOptions, HelpArgumentAnywhereShowsTheHelpInTheUsageBox) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"/?"},
                                                 {"T", "X", "B", "/?"},
                                                 {"/?", "T", "extra", "/q", "/x"}}) {
        BoxSettings s = settings_of(args);
        EXPECT_EQ(s.text, box_help_text());
        EXPECT_EQ(s.title, "Vemo 1.10");
        EXPECT_EQ(s.buttons, "Quit");
        EXPECT_EQ(s.window_width, 380);
        EXPECT_EQ(s.error_count, 1);
    }
    // Valid options still shape the box, and the help is never rewritten.
    BoxSettings shaped = settings_of({"/FS=12", "/?", "/TM=5", "/CR=e"});
    EXPECT_EQ(shaped.font_size, 12);
    EXPECT_EQ(shaped.buttons, "Quit  -$");
    EXPECT_EQ(shaped.text, box_help_text());
    // Only the exact argument asks for help.
    EXPECT_EQ(settings_of({"T", "X", "B", "/?x"}).invalid_options, "  /?x");
    EXPECT_EQ(settings_of({"-?", "X", "B"}).title, "-?");
}
