#include "vemo/box_copy.h"

#include <gtest/gtest.h>

#include "toolkit/event_kinds.h"
#include "vemo/box_loop.h"

TEST(BoxCopy, TitleTextAndCaptionsStandBetweenRulesWithWindowsLineEnds) {
    const std::string rule = "---------------------------\r\n";
    EXPECT_EQ(
        box_copy_text("Save", "Save the file?", {"Yes", "No", "Cancel"}),
        rule + "Save\r\n" + rule + "Save the file?\r\n" + rule + "Yes   No   Cancel   \r\n" + rule);
    // The label's own line breaks (CR), and any CR LF or LF, become CR LF.
    EXPECT_EQ(box_copy_text("Т", "один\rдва\r\nтри\n", {"OK"}),
              rule + "Т\r\n" + rule + "один\r\nдва\r\nтри\r\n\r\n" + rule + "OK   \r\n" + rule);
    EXPECT_EQ(box_copy_text("", "", {}), rule + "\r\n" + rule + "\r\n" + rule + "\r\n" + rule);
}

TEST(BoxCopy, CtrlCStopsTheCountdownAndAnswersNothing) {
    BoxLoop loop;
    loop.exit_code = 7;
    loop.current_default = 2;
    EXPECT_EQ(box_event_action(loop, EVENT_SHORTCUT, BOX_SHORTCUT_COPY), ACTION_STOP_COUNTDOWN);
    EXPECT_EQ(loop.exit_code, 7);
    EXPECT_EQ(loop.answered, 0);
}
