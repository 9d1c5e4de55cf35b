#include "orlipan/pick_output.h"

#include <gtest/gtest.h>

#include "toolkit/event_kinds.h"

TEST(PickOutput, ItemReplacesEveryDollarItemInAnyCase) {
    EXPECT_EQ(make_pick_output("set choice=$ITEM", "red", false), "set choice=red");
    EXPECT_EQ(make_pick_output("$item/$Item/$iTeM", "x", false), "x/x/x");
    EXPECT_EQ(make_pick_output("set x=$item", "", false), "set x=");
    EXPECT_EQ(make_pick_output("", "red", false), "");
    EXPECT_EQ(make_pick_output("no marker", "red", false), "no marker");
}

TEST(PickOutput, DoubledApostrophesInTheTemplateBecomeQuotes) {
    EXPECT_EQ(make_pick_output("echo ''$item''", "a b", false), "echo \"a b\"");
    EXPECT_EQ(make_pick_output("echo $item", "a b", true), "echo \"a b\"");
    EXPECT_EQ(make_pick_output("'''", "", false), "\"'");
}

TEST(PickOutput, InsertedLineIsNeverRewritten) {
    EXPECT_EQ(make_pick_output("[$item]", "it''s", false), "[it''s]");
    EXPECT_EQ(make_pick_output("[$item]", "$item and $ITEM", false), "[$item and $ITEM]");
    EXPECT_EQ(make_pick_output("$item$item", "$it", false), "$it$it");
}

TEST(PickOutput, Utf8TemplateTakesTheLineByteForByte) {
    // Invalid sequences in the line stay as they are.
    const std::string line = "caf\xC3\xA9 \xFF\xFE \xE2\x82";
    EXPECT_EQ(
        make_pick_output(u8"\u0395\u03c0\u03b9\u03bb\u03bf\u03b3\u03ae: ''$item''", line, false),
        u8"\u0395\u03c0\u03b9\u03bb\u03bf\u03b3\u03ae: \"" + line + "\"");
    // Only ASCII letters fold: a dotted capital I (C4 B0) does not spell $item.
    EXPECT_EQ(make_pick_output("$\xC4\xB0TEM $ITEM", "x", false), "$\xC4\xB0TEM x");
}

TEST(PickOutput, ExitCodeIsTheLineNumberCappedAt255) {
    EXPECT_EQ(pick_exit_code(0), 1);
    EXPECT_EQ(pick_exit_code(2), 3);
    EXPECT_EQ(pick_exit_code(253), 254);
    EXPECT_EQ(pick_exit_code(254), 255);
    EXPECT_EQ(pick_exit_code(299), 255);
}

TEST(PickOutput, EventsMapToActions) {
    EXPECT_EQ(pick_action_of_event(EVENT_CONTROL, 1, DETAIL_DOUBLE_CLICK, 0, false), PICK_ACCEPT);
    EXPECT_EQ(pick_action_of_event(EVENT_CONTROL, 1, DETAIL_CLICK, 0, false), PICK_NONE);
    EXPECT_EQ(pick_action_of_event(EVENT_CONTROL, 1, DETAIL_CLICK, 0, true), PICK_ACCEPT);
    EXPECT_EQ(pick_action_of_event(EVENT_CONTROL, 1, DETAIL_CHANGE, 0, true), PICK_NONE);
    EXPECT_EQ(pick_action_of_event(EVENT_CONTROL, 1, DETAIL_RIGHT_CLICK, 0, true), PICK_NONE);
    EXPECT_EQ(pick_action_of_event(EVENT_CONTROL, 2, DETAIL_DOUBLE_CLICK, 0, true), PICK_NONE);
    EXPECT_EQ(pick_action_of_event(EVENT_SHORTCUT, 1, DETAIL_NONE, 1, false), PICK_ACCEPT);
    EXPECT_EQ(pick_action_of_event(EVENT_SHORTCUT, 2, DETAIL_NONE, 2, false), PICK_CANCEL);
    EXPECT_EQ(pick_action_of_event(EVENT_SHORTCUT, 3, DETAIL_NONE, PICK_SHORTCUT_COPY, true),
              PICK_NONE);
    EXPECT_EQ(pick_action_of_event(EVENT_CLOSE, 0, 0, 0, false), PICK_CANCEL);
    EXPECT_EQ(pick_action_of_event(EVENT_RESIZE, 0, 0, 0, false), PICK_NONE);
    EXPECT_EQ(pick_action_of_event(256, 0, DETAIL_NONE, 0, true), PICK_NONE);
}

TEST(PickOutput, BlankMenuLinesAreSeparators) {
    EXPECT_EQ(check_accept(-1, false, ""), ACCEPT_REFUSE);
    EXPECT_EQ(check_accept(-1, true, "x"), ACCEPT_REFUSE);
    EXPECT_EQ(check_accept(0, false, ""), ACCEPT_TAKE);
    EXPECT_EQ(check_accept(0, false, "   "), ACCEPT_TAKE);
    EXPECT_EQ(check_accept(4, true, ""), ACCEPT_REFUSE_AND_CLEAR);
    EXPECT_EQ(check_accept(4, true, "   "), ACCEPT_REFUSE_AND_CLEAR);
    EXPECT_EQ(check_accept(4, true, "\t"), ACCEPT_TAKE);
    EXPECT_EQ(check_accept(4, true, " a "), ACCEPT_TAKE);
}

namespace {

std::string multi(const std::string& output_string, const std::vector<std::string>& items,
                  bool quote = false) {
    return make_multi_output(
        output_string, static_cast<int>(items.size()), [&](int i) { return items[i]; }, quote);
}

}  // namespace

TEST(PickOutput, SeveralLinesFillTheTemplateOnceEachJoinedByCrLf) {
    EXPECT_EQ(multi("copy ''$item'' D:\\", {"a b.txt", "c.txt"}),
              "copy \"a b.txt\" D:\\\r\ncopy \"c.txt\" D:\\");
    EXPECT_EQ(multi("echo $item", {"a b", ""}, true), "echo \"a b\"\r\necho \"\"");
    EXPECT_EQ(multi("$item", {"only"}), "only");
    EXPECT_EQ(multi("", {"a", "b"}), "");
    EXPECT_EQ(multi_exit_code(2), 2);
    EXPECT_EQ(multi_exit_code(1000000), 255);
}

TEST(PickOutput, AutoAnswersOneLineAndCancelsNone) {
    EXPECT_EQ(auto_action(1), PICK_ACCEPT);
    EXPECT_EQ(auto_action(0), PICK_CANCEL);
    EXPECT_EQ(auto_action(2), PICK_NONE);
}

TEST(PickOutput, FieldsOfATabLineFillDollarOneToNine) {
    const std::string line = "red\t$1 ''x''\t\t4";
    EXPECT_EQ(make_pick_output("$2 $1", line, false, true), "$1 ''x'' red");
    EXPECT_EQ(make_pick_output("[$3][$4][$5][$9]", line, false, true), "[][4][][]");
    EXPECT_EQ(make_pick_output("$item|$ITEM", "a\tb", false, true), "a\tb|a\tb");
    EXPECT_EQ(make_pick_output("$10 $0 $ $", "a\tb", false, true), "a0 $0 $ $");
    EXPECT_EQ(make_pick_output("''$1'' $2 $item", "a b\tc", true, true),
              "\"\"a b\"\" \"c\" \"a b\tc\"");
    // Without /tab the digits are not names.
    EXPECT_EQ(make_pick_output("$1 $item", "a\tb", false, false), "$1 a\tb");
    EXPECT_EQ(make_multi_output(
                  "$2=$1", 2, [](int i) { return i ? std::string("x\ty") : std::string("p"); },
                  true, true),
              "\"\"=\"p\"\r\n\"y\"=\"x\"");
}
