// The answer field and the icon: their options, their place in the layout and
// what the loop does with the field.
#include <gtest/gtest.h>

#include "toolkit/event_kinds.h"
#include "vemo/box_layout.h"
#include "vemo/box_loop.h"
#include "vemo/box_options.h"

namespace {

BoxSettings settings_of(std::vector<std::string> options) {
    std::vector<std::string> arguments = {"T", "X", "A;B"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return read_box_settings(arguments);
}

bool refused(const std::vector<std::string>& options) {
    BoxSettings s = settings_of(options);
    return s.error_count != 0 && s.text.find("Invalid option(s):") != std::string::npos;
}

}  // namespace

TEST(BoxFieldOptions, FieldTextPasswordEncodingAndIconAreReadWhateverTheCase) {
    BoxSettings plain = settings_of({});
    EXPECT_EQ(plain.input, 0);
    EXPECT_EQ(plain.answer_encoding, BOX_ANSWER_ANSI);
    EXPECT_EQ(plain.icon, BOX_ICON_NONE);

    BoxSettings s = settings_of({"/in=Dr. ''Who'' & co;x", "/utf8", "/ic=q"});
    EXPECT_EQ(s.input, 1);
    EXPECT_EQ(s.input_text, "Dr. ''Who'' & co;x");  // as given, unlike the message
    EXPECT_EQ(s.password, 0);
    EXPECT_EQ(s.answer_encoding, BOX_ANSWER_UTF8);
    EXPECT_EQ(s.icon, BOX_ICON_QUESTION);

    BoxSettings p = settings_of({"/PW", "/OEM", "/OEM", "/IC=E"});
    EXPECT_EQ(p.input, 1);
    EXPECT_EQ(p.password, 1);
    EXPECT_EQ(p.input_text, "");
    EXPECT_EQ(p.answer_encoding, BOX_ANSWER_OEM);
    EXPECT_EQ(p.icon, BOX_ICON_ERROR);
    EXPECT_EQ(settings_of({"/IN="}).input, 1);
    EXPECT_EQ(settings_of({"/IC=i"}).icon, BOX_ICON_INFORMATION);
    EXPECT_EQ(settings_of({"/IC=W"}).icon, BOX_ICON_WARNING);
}

TEST(BoxFieldOptions, TwoEncodingsBadIconsAndLongerWordsAreSyntaxErrors) {
    for (auto options : std::vector<std::vector<std::string>>{{"/OEM", "/UTF8"},
                                                              {"/utf8", "/oem"},
                                                              {"/IC=x"},
                                                              {"/IC="},
                                                              {"/IC=ww"},
                                                              {"/INX"},
                                                              {"/PWD"},
                                                              {"/UTF-8"},
                                                              {"/OEMX"}}) {
        EXPECT_TRUE(refused(options)) << options.back();
    }
}

TEST(BoxFieldOptions, TheReportBoxHasNoFieldAndNoIcon) {
    BoxSettings wrong = settings_of({"/IN=x", "/PW", "/IC=w", "/bad"});
    EXPECT_EQ(wrong.input, 0);
    EXPECT_EQ(wrong.password, 0);
    EXPECT_EQ(wrong.icon, BOX_ICON_NONE);
    BoxSettings help = settings_of({"/IN", "/IC=i", "/?"});
    EXPECT_EQ(help.input, 0);
    EXPECT_EQ(help.icon, BOX_ICON_NONE);
}

TEST(BoxFieldLayout, WithoutIconOrFieldNothingMoves) {
    // Font size 9 at 144 DPI: margins of 2 x 9 = 18 pixels at 96 DPI, 27
    // here; buttons 8/3 x 9 = 24 high, 36 here. One row of text 24 high
    // takes the height of two rows (48), the row being estimated.
    BoxSettings s = settings_of({});
    BoxLayout l = plan_box_layout(s, 144);
    EXPECT_EQ(l.margin, 27);
    EXPECT_EQ(l.text_x, 27);  // the text starts at the margin
    EXPECT_EQ(l.label_width, s.window_width - 2 * 27);
    fit_box_text(l, s, {{100, 24}});
    EXPECT_EQ(l.text_height, 48);
    EXPECT_EQ(l.field_height, 0);
    EXPECT_EQ(l.button_y, 27 + 48);  // right under the text
    EXPECT_EQ(l.window_height, 27 + 48 + 36 + 27);
}

TEST(BoxFieldLayout, TheIconPushesTheTextRightAndTheBoxIsAtLeastItsHeight) {
    BoxSettings s = settings_of({"/IC=w"});
    BoxLayout l = plan_box_layout(s, 96, 32);
    // 18 margin, 32 icon, 18 margin; the window widens by the icon's room.
    EXPECT_EQ(l.text_x, 68);
    EXPECT_EQ(s.window_width, 251);
    EXPECT_EQ(l.label_width, 251 - 36 - 50);
    fit_box_text(l, s, {{10, 8}});
    EXPECT_EQ(l.text_height, 16);
    EXPECT_EQ(l.button_y, 18 + 32);  // the icon is taller than the text
    EXPECT_EQ(l.window_height, 18 + 32 + 24 + 18);

    // Narrow buttons: the text keeps its 180-pixel minimum beside the icon.
    BoxSettings narrow = settings_of({"/IC=w", "/BW=10"});
    BoxLayout n = plan_box_layout(narrow, 96, 32);
    EXPECT_EQ(narrow.window_width, 180 + 50);
    EXPECT_EQ(n.label_width, 230 - 36 - 50);
}

TEST(BoxFieldLayout, TheFieldGoesUnderTextAndIconAcrossTheTextsWidthAtLeast200Scaled) {
    BoxSettings s = settings_of({"/IN"});
    BoxLayout l = plan_box_layout(s, 96);
    EXPECT_EQ(s.window_width, 251);  // the buttons' row is wider than the field's minimum
    EXPECT_EQ(l.label_width, 215);
    fit_box_text(l, s, {{10, 16}}, 21);
    EXPECT_EQ(l.field_y, 18 + 32);
    EXPECT_EQ(l.button_y, 18 + 32 + 21 + 9);
    EXPECT_EQ(l.window_height, l.button_y + 24 + 18);

    BoxSettings narrow = settings_of({"/IN", "/BW=10"});
    plan_box_layout(narrow, 96);
    EXPECT_EQ(narrow.window_width, 36 + 200);

    BoxSettings big = settings_of({"/IN", "/IC=i", "/BW=10"});
    BoxLayout b = plan_box_layout(big, 144, 48);
    EXPECT_EQ(b.label_width, 300);  // 200 at 96 DPI
    EXPECT_EQ(b.text_x, 27 + 48 + 27);
    fit_box_text(b, big, {{10, 24}}, 30);
    EXPECT_EQ(b.field_y, 27 + 48);
    EXPECT_EQ(b.button_y, 27 + 48 + 30 + 14);
}

TEST(BoxFieldLoop, TypingAnswersNothingEnterInTheFieldPressesTheDefault) {
    BoxLoop loop;
    loop.timeout = 5;
    loop.default_button = 2;
    loop.field_control = BOX_FIELD;
    loop.field_default = 2;
    EXPECT_EQ(box_event_action(loop, EVENT_CONTROL, BOX_FIELD), ACTION_NONE);
    EXPECT_EQ(default_for_focus(loop, BOX_FIELD), 2);
    EXPECT_EQ(default_for_focus(loop, 1), 1);
    EXPECT_EQ(default_for_focus(loop, -1), -1);
    loop.current_default = default_for_focus(loop, BOX_FIELD);
    EXPECT_EQ(box_event_action(loop, EVENT_SHORTCUT, BOX_SHORTCUT_ENTER), ACTION_FINISH);
    EXPECT_EQ(loop.exit_code, 2);
    EXPECT_EQ(loop.answered, 1);

    BoxLoop none;
    EXPECT_EQ(default_for_focus(none, 0), 0);  // no field: the focus as it is
    EXPECT_EQ(box_event_action(none, EVENT_CONTROL, BOX_FIELD), ACTION_FINISH);
}

TEST(BoxFieldLoop, ButtonsAndTheCountdownAnswerEscapeAndCloseDoNot) {
    struct Case {
        int kind;
        int id;
        int32_t answered;
    };
    for (Case c : {Case{EVENT_CONTROL, 3, 1}, Case{EVENT_TIMER, BOX_TIMER_COUNTDOWN, 1},
                   Case{EVENT_SHORTCUT, BOX_SHORTCUT_ESCAPE, 0}, Case{EVENT_CLOSE, 0, 0}}) {
        BoxLoop loop;
        loop.timeout = 1;
        loop.default_button = 1;
        loop.field_control = BOX_FIELD;
        EXPECT_EQ(box_event_action(loop, c.kind, c.id), ACTION_FINISH) << c.kind;
        EXPECT_EQ(loop.answered, c.answered) << c.kind;
    }
    BoxLoop no_default;
    no_default.timeout = 1;
    no_default.field_control = BOX_FIELD;
    no_default.default_button = 0;
    EXPECT_EQ(box_event_action(no_default, EVENT_TIMER, BOX_TIMER_COUNTDOWN), ACTION_FINISH);
    EXPECT_EQ(no_default.exit_code, 0);
    EXPECT_EQ(no_default.answered, 0);  // waiting out /DB=0 is no answer
}
