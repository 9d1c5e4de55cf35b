#include "toolkit/keyboard.h"

#include <gtest/gtest.h>

TEST(Shortcuts, RebindingTheSameKeyKeepsOneEntryWithTheLaterId) {
    std::vector<ShortcutEntry> entries = initial_shortcuts();
    bind_shortcut(entries, 13, 1);
    bind_shortcut(entries, 13, 5);
    bind_shortcut(entries, 13 | SHORTCUT_SHIFT, 6);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[2].command, 5);
    EXPECT_EQ(entries[3].command, 6);
}

TEST(FocusOrder, ForwardAndBackwardWrapAroundAndStartFromNothing) {
    EXPECT_EQ(next_focus_index(3, 0, true), 1);
    EXPECT_EQ(next_focus_index(3, 2, true), 0);
    EXPECT_EQ(next_focus_index(3, -1, true), 0);
    EXPECT_EQ(next_focus_index(3, 2, false), 1);
    EXPECT_EQ(next_focus_index(3, 0, false), 2);
    EXPECT_EQ(next_focus_index(3, -1, false), 2);
    EXPECT_EQ(next_focus_index(1, 0, true), 0);
    EXPECT_EQ(next_focus_index(0, -1, true), -1);
}
