#include "vemo/box_loop.h"

#include <gtest/gtest.h>

#include <climits>

#include "toolkit/event_kinds.h"

namespace {

BoxLoop counting(int32_t timeout, int32_t default_button) {
    BoxLoop loop;
    loop.timeout = timeout;
    loop.default_button = default_button;
    loop.current_default = default_button;
    return loop;
}

}  // namespace

TEST(BoxLoop, OnlyTheLastDollarCaptionCountsDownAndOthersKeepTheStartNumber) {
    BoxLoop loop = counting(10, 1);
    auto shown = countdown_captions(loop, {"OK ($)", "Later $s", "Cancel"});
    EXPECT_EQ(shown, (std::vector<std::string>{"OK (10)", "Later 10s", "Cancel"}));
    EXPECT_EQ(loop.countdown_button, 2);
    EXPECT_EQ(loop.countdown_caption, "Later $s");
    BoxLoop idle = counting(0, 1);
    EXPECT_EQ(countdown_captions(idle, {"$ and $"})[0], "0 and 0");
    EXPECT_EQ(caption_with_count("OK ($)", -3), "OK (-3)");
    EXPECT_EQ(caption_without_count("OK ($)"), "OK ()");
}

TEST(BoxLoop, CountdownEndsWithTheDefaultButtonSettingNotTheFocusedOne) {
    BoxLoop loop = counting(2, 7);
    loop.current_default = -1;
    EXPECT_EQ(box_event_action(loop, EVENT_TIMER, BOX_TIMER_COUNTDOWN), ACTION_NONE);
    EXPECT_EQ(loop.timeout, 1);
    EXPECT_EQ(box_event_action(loop, EVENT_TIMER, 1), ACTION_NONE);
    EXPECT_EQ(box_event_action(loop, EVENT_TIMER, BOX_TIMER_COUNTDOWN), ACTION_FINISH);
    EXPECT_EQ(loop.exit_code, 7);
}

TEST(BoxLoop, NegativeCountdownsEndOnTheFirstTickEvenAtTheSmallestNumber) {
    for (int32_t timeout : {-3, INT_MIN}) {
        BoxLoop loop = counting(timeout, 2);
        EXPECT_EQ(box_event_action(loop, EVENT_TIMER, BOX_TIMER_COUNTDOWN), ACTION_FINISH);
        EXPECT_EQ(loop.exit_code, 2);
        EXPECT_LE(loop.timeout, 0);
    }
}

TEST(BoxLoop, EnterPressesOnlyACurrentDefaultAndEscapeAnswersZero) {
    BoxLoop none = counting(0, 0);
    for (int32_t current : {0, -1}) {
        none.current_default = current;
        EXPECT_EQ(box_event_action(none, EVENT_SHORTCUT, BOX_SHORTCUT_ENTER), ACTION_NONE);
    }
    BoxLoop loop = counting(0, 1);
    loop.current_default = 3;
    EXPECT_EQ(box_event_action(loop, EVENT_SHORTCUT, BOX_SHORTCUT_ENTER), ACTION_FINISH);
    EXPECT_EQ(loop.exit_code, 3);
    EXPECT_EQ(box_event_action(loop, EVENT_SHORTCUT, BOX_SHORTCUT_ESCAPE), ACTION_FINISH);
    EXPECT_EQ(loop.exit_code, 0);
}

TEST(BoxLoop, ClicksFinishWithTheButtonNumberAndUserActivityStopsTheCountdown) {
    BoxLoop loop = counting(5, 1);
    EXPECT_EQ(box_event_action(loop, EVENT_CONTROL, 300), ACTION_FINISH);
    EXPECT_EQ(loop.exit_code, 300);
    for (int kind : {MESSAGE_KEY_DOWN, MESSAGE_LEFT_BUTTON_UP, MESSAGE_RIGHT_BUTTON_DOWN}) {
        EXPECT_EQ(box_event_action(loop, kind, 0), ACTION_STOP_COUNTDOWN) << kind;
    }
    EXPECT_EQ(box_event_action(loop, EVENT_SHORTCUT, BOX_SHORTCUT_SPACE), ACTION_STOP_COUNTDOWN);
    EXPECT_EQ(box_event_action(loop, EVENT_RESIZE, 0), ACTION_NONE);
    EXPECT_EQ(box_event_action(loop, 512, 0), ACTION_NONE);
    BoxLoop closing = counting(5, 1);
    EXPECT_EQ(box_event_action(closing, EVENT_CLOSE, 0), ACTION_FINISH);
    EXPECT_EQ(closing.exit_code, 0);
}
