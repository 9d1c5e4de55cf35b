// The edit box and lists of several lines under the window system: change
// events, the keys a linked box hands its list, Ctrl+A, and reading and
// clearing a selection of several lines.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/toolkit.h"

namespace {

constexpr int LIST = 1;
constexpr int BOX = 2;
constexpr int LIST_STYLE = 0x40004008 | LIST_VIRTUAL;  // as the list tool's
constexpr int COUNT = 1000;

const char* numbered_line(int index, void*) {
    static std::string text;
    text = "line " + std::to_string(index);
    return text.c_str();
}

// The thread's key state is what controls read for Ctrl and Shift.
void hold_control(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

class EditBox : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prepare_toolkit(GetModuleHandleA(nullptr));
        window = open_window(0, 40, 40, 420, 320, "edit", WS_CAPTION | WS_SYSMENU, nullptr);
    }
    static void TearDownTestSuite() { release_toolkit(); }
    void make(int list_flags) {
        ASSERT_NE(window, nullptr);
        ASSERT_NE(create_list_view(LIST, 10, 40, 300, 200, "", 200, LIST_STYLE | list_flags),
                  nullptr);
        list_set_source(LIST, numbered_line, nullptr, COUNT);
        ASSERT_NE(create_edit_box(BOX, 10, 10, 300, 22, ""), nullptr);
        link_edit_to_list(BOX, LIST);
        drain();
    }
    void TearDown() override {
        hold_control(false);
        DestroyWindow(control_handle(BOX));
        DestroyWindow(control_handle(LIST));
        drain();
    }
    static void drain() {
        while (poll_event() != 0) {
        }
    }
    static void key(WPARAM vk) { SendMessageA(control_handle(BOX), WM_KEYDOWN, vk, 1); }
    static HWND window;
};
HWND EditBox::window = nullptr;

// True when a change of the box is among the events waiting.
bool change_reported() {
    for (int kind = poll_event(); kind != 0; kind = poll_event()) {
        if (kind == EVENT_CONTROL && event_control() == BOX && event_detail() == DETAIL_CHANGE)
            return true;
    }
    return false;
}

}  // namespace

TEST_F(EditBox, TypingAndSettingTheTextAreReportedAsChanges) {
    make(0);
    SendMessageA(control_handle(BOX), WM_CHAR, 'a', 1);
    EXPECT_TRUE(change_reported());
    EXPECT_EQ(control_text(BOX), "a");
    // Set by the tool outside any wait: the change still comes.
    set_control_text(BOX, "");
    EXPECT_TRUE(change_reported());
    EXPECT_GT(edit_box_height(BOX), 10);
}

TEST_F(EditBox, LinkedBoxMovesTheListWithoutTouchingItsOwnText) {
    make(0);
    list_select(LIST, 0);
    SendMessageA(control_handle(BOX), WM_CHAR, 'x', 1);
    key(VK_DOWN);
    key(VK_DOWN);
    EXPECT_EQ(list_selected_index(LIST), 2);
    key(VK_UP);
    EXPECT_EQ(list_selected_index(LIST), 1);
    hold_control(true);
    key(VK_END);
    EXPECT_EQ(list_selected_index(LIST), COUNT - 1);
    key(VK_HOME);
    EXPECT_EQ(list_selected_index(LIST), 0);
    hold_control(false);
    // Plain Home and End are the box's.
    key(VK_END);
    EXPECT_EQ(list_selected_index(LIST), 0);
    EXPECT_EQ(control_text(BOX), "x");
}

TEST_F(EditBox, CtrlASelectsEveryLineOfAListOfSeveralOnly) {
    make(0);
    list_select(LIST, 3);
    hold_control(true);
    key('A');
    hold_control(false);
    EXPECT_EQ(list_selected_indexes(LIST), std::vector<int>{3});

    make(LIST_MULTIPLE_SELECTION);
    hold_control(true);
    key('A');
    hold_control(false);
    EXPECT_EQ(list_selected_indexes(LIST).size(), static_cast<size_t>(COUNT));
    // Moving from the box selects one line again; Ctrl+End is plain End.
    hold_control(true);
    key(VK_END);
    hold_control(false);
    EXPECT_EQ(list_selected_indexes(LIST), std::vector<int>{COUNT - 1});
}

TEST_F(EditBox, SelectingOneLineClearsASelectionOfMany) {
    make(LIST_MULTIPLE_SELECTION);
    hold_control(true);
    key('A');
    hold_control(false);
    list_select(LIST, 5);
    EXPECT_EQ(list_selected_indexes(LIST), std::vector<int>{5});
    list_select(LIST, -1);
    EXPECT_TRUE(list_selected_indexes(LIST).empty());
    // A source of the same length keeps the selection and shows new lines.
    list_select(LIST, 7);
    list_set_source(LIST, numbered_line, nullptr, COUNT);
    EXPECT_EQ(list_selected_indexes(LIST), std::vector<int>{7});
}
