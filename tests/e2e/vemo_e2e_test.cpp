// The message box tool seen from outside: answers given with real clicks and
// keys, the countdown, the error and usage box, the window's geometry against
// the layout arithmetic, absurd command lines, and batch files that branch on
// the answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/box_driver.h"
#include "tests/e2e/driver.h"
#include "vemo/box_help.h"
#include "vemo/box_layout.h"

namespace {

const int EXIT_TIMEOUT_MS = BOX_EXIT_TIMEOUT_MS;
const int WINDOW_TIMEOUT_MS = BOX_WINDOW_TIMEOUT_MS;
const char* const USAGE_TEXT =
    "Shows a message box and returns the number of the button pressed.\r\n\r\n"
    "Syntax: Vemo \"title\" \"text\" \"button1;button2..\" [options]";

HWND focused_window(HWND box) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info);
    return info.hwndFocus;
}

bool drawn_as_default(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
}

// Moves the mouse within the box, above the label and away from the
// buttons, so that the box sees input that answers nothing.
void move_mouse_inside(HWND window) {
    static int step = 0;
    RECT client = client_rect_on_screen(window);
    SetCursorPos(client.left + 4 + (++step % 2), client.top + 4);
}

void press(Box& box, WORD vk, bool alt = false) {
    ASSERT_TRUE(make_foreground(box.window));
    press_key(vk, false, false, alt);
}

DWORD answer_with_key(const std::string& args, WORD vk, bool alt = false) {
    Box box = open_box(args);
    EXPECT_TRUE(box.window != nullptr);
    if (box.window)
        answer(box, [&] { press(box, vk, alt); });
    return finish(box);
}

DWORD answer_with_click(const std::string& args, int id) {
    Box box = open_box(args);
    HWND target = box.window ? button(box.window, id) : nullptr;
    EXPECT_TRUE(target != nullptr);
    if (target)
        answer(box, [&] { click_window_center(target); });
    return finish(box);
}

void expect_geometry(HWND window, const std::vector<std::string>& arguments, bool on_screen) {
    BoxSettings s = read_box_settings(arguments);
    // The text as the tool measures it: the same font, made the same way.
    BoxLayout l = measured_box_layout(s, display_dpi());

    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, s.window_width);
    EXPECT_EQ(client.bottom, l.window_height);
    RECT label = rect_in_client(window, child_by_class(window, "Static"));
    EXPECT_EQ(label.left, l.margin);
    EXPECT_EQ(label.top, l.margin);
    EXPECT_EQ(label.right - label.left, l.label_width);
    EXPECT_EQ(label.bottom - label.top, l.text_height);
    for (int i = 1; i <= l.button_count; ++i) {
        RECT b = rect_in_client(window, button(window, i));
        EXPECT_EQ(b.left, l.first_button_x + (i - 1) * (s.button_width + 5)) << i;
        EXPECT_EQ(b.top, l.button_y) << i;
        EXPECT_EQ(b.right - b.left, s.button_width) << i;
        EXPECT_EQ(b.bottom - b.top, l.button_height) << i;
    }

    RECT outer = window_rect(window);
    POINT origin = centred_box_origin(window, l.growth, on_screen);
    EXPECT_EQ(outer.left, origin.x + s.offset_x);
    EXPECT_EQ(outer.top, origin.y - l.growth / 2 + s.offset_y);
}

}  // namespace

TEST(VemoAnswers, ClicksGiveTheButtonNumberEscapeAndCloseGiveZeroEnterTheFirst) {
    const std::string args = "Question \"Save the file?\" Yes;No;Cancel";
    for (int id = 1; id <= 3; ++id) {
        EXPECT_EQ(answer_with_click(args, id), (DWORD)id);
    }
    EXPECT_EQ(answer_with_key(args, VK_ESCAPE), 0u);
    // No close box is drawn under Wine without a window manager; Alt+F4 is
    // the same close request.
    EXPECT_EQ(answer_with_key(args, VK_F4, true), 0u);
    EXPECT_EQ(answer_with_key(args, VK_RETURN), 1u);
}

TEST(VemoAnswers, TheDefaultLookAndEnterFollowTheFocus) {
    const std::string args = "Pick \"Which one?\" One;Two;Three /DB=2";
    Box box = open_box(args);
    ASSERT_TRUE(box.window != nullptr);
    EXPECT_EQ(focused_window(box.window), button(box.window, 2));
    EXPECT_TRUE(drawn_as_default(button(box.window, 2)));
    EXPECT_FALSE(drawn_as_default(button(box.window, 1)));
    answer(box, [&] { press(box, VK_RETURN); });
    EXPECT_EQ(finish(box), 2u);

    Box tabbed = open_box(args);
    ASSERT_TRUE(tabbed.window != nullptr);
    HWND third = button(tabbed.window, 3);
    press(tabbed, VK_TAB);
    EXPECT_TRUE(wait_until([&] { return focused_window(tabbed.window) == third; }));
    // The look follows at the next event the loop sees; a mouse move is one.
    EXPECT_TRUE(wait_until([&] {
        move_mouse_inside(tabbed.window);
        return drawn_as_default(third);
    }));
    EXPECT_FALSE(drawn_as_default(button(tabbed.window, 2)));
    answer(tabbed, [&] { press(tabbed, VK_RETURN); });
    EXPECT_EQ(finish(tabbed), 3u);
}

TEST(VemoCountdown, WithoutAValidDefaultEnterDoesNothingAndTheCountdownGivesTheSetting) {
    for (int db : {0, 7}) {
        SCOPED_TRACE(db);
        Box box = open_box("T X A;B /TM=2 /DB=" + std::to_string(db));
        ASSERT_TRUE(box.window != nullptr);
        HWND focus = focused_window(box.window);
        EXPECT_TRUE(focus != button(box.window, 1) && focus != button(box.window, 2));
        EXPECT_FALSE(drawn_as_default(button(box.window, 1)));
        press(box, VK_RETURN);
        EXPECT_EQ(finish(box), (DWORD)db);
    }
}

TEST(VemoCountdown, OnlyTheLastDollarCaptionCountsDownToTheDefaultButton) {
    Box box = open_box("T X \"Early $;Late ($)\" /TM=2 /DB=2");
    ASSERT_TRUE(box.window != nullptr);
    HWND late = button(box.window, 2);
    EXPECT_TRUE(wait_until([&] { return window_caption(late) == "Late (1)"; }, 3000));
    EXPECT_EQ(window_caption(button(box.window, 1)), "Early 2");
    EXPECT_EQ(finish(box), 2u);

    Box negative = open_box("T X \"Go $;Stay\" /TM=-3 /DB=2");
    ASSERT_TRUE(negative.window != nullptr);
    EXPECT_EQ(finish(negative), 2u);
}

TEST(VemoCountdown, SpaceStopsTheCountdownWithoutPressingAButton) {
    Box box = open_box("T X \"OK ($);Cancel\" /TM=5");
    ASSERT_TRUE(box.window != nullptr);
    HWND ok = button(box.window, 1);
    std::string first = window_caption(ok);
    EXPECT_TRUE(first == "OK (5)" || first == "OK (4)") << first;
    EXPECT_TRUE(
        give([&] { press(box, VK_SPACE); }, [&] { return window_caption(ok) == "OK ()"; }, 1000));
    EXPECT_NE(WaitForSingleObject(box.run.process, 0), WAIT_OBJECT_0);
    answer(box, [&] { press(box, VK_ESCAPE); });
    EXPECT_EQ(finish(box), 0u);
}

TEST(VemoErrorBox, UsageAndSyntaxReportsShowTheirTextAndEveryEndingGives255) {
    Box usage = open_box("");
    ASSERT_TRUE(usage.window != nullptr);
    EXPECT_EQ(window_caption(usage.window), "Vemo 1.10");
    EXPECT_EQ(window_caption(child_by_class(usage.window, "Static")), USAGE_TEXT);
    EXPECT_EQ(window_caption(button(usage.window, 1)), "Quit");
    EXPECT_EQ(button(usage.window, 2), nullptr);
    RECT client = {};
    GetClientRect(usage.window, &client);
    EXPECT_EQ(client.right, 380);
    answer(usage, [&] { press(usage, VK_ESCAPE); });
    EXPECT_EQ(finish(usage), 255u);

    Box syntax = open_box("T X B extra /q");
    ASSERT_TRUE(syntax.window != nullptr);
    EXPECT_EQ(window_caption(child_by_class(syntax.window, "Static")),
              "Syntax error:\rExcess argument(s):  extra\rInvalid option(s):  /q");
    answer(syntax, [&] { click_window_center(button(syntax.window, 1)); });
    EXPECT_EQ(finish(syntax), 255u);

    Box closed = open_box("/x");
    ASSERT_TRUE(closed.window != nullptr);
    answer(closed, [&] { PostMessageA(closed.window, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(finish(closed), 255u);

    Box counted = open_box("/TM=1");
    ASSERT_TRUE(counted.window != nullptr);
    std::string caption = window_caption(button(counted.window, 1));
    EXPECT_TRUE(caption == "Quit  -1" || caption == "Quit  -0") << caption;
    EXPECT_EQ(finish(counted), 255u);
}

TEST(VemoErrorBox, HelpArgumentAnywhereShowsTheWholeHelpInTheUsageBoxAndGives255) {
    const std::vector<std::vector<std::string>> lines = {
        {"/?"}, {"Title", "Text", "Yes;No", "/?", "/DX=10"}, {"/q", "/?", "a", "b", "c", "d"}};
    for (const std::vector<std::string>& arguments : lines) {
        SCOPED_TRACE(quoted_line(arguments));
        Box box = open_box(quoted_line(arguments));
        ASSERT_TRUE(box.window != nullptr);
        EXPECT_EQ(window_caption(box.window), "Vemo 1.10");
        EXPECT_EQ(window_caption(child_by_class(box.window, "Static")), box_help_text());
        EXPECT_EQ(window_caption(button(box.window, 1)), "Quit");
        EXPECT_EQ(button(box.window, 2), nullptr);
        // The label is as tall as the measured help needs: nothing is cut off.
        expect_geometry(box.window, arguments, false);
        answer(box, [&] { press(box, VK_RETURN); });
        EXPECT_EQ(finish(box), 255u);
    }
}

TEST(VemoGeometry, WindowMatchesTheLayoutOfTheMeasuredTextOnConsoleOrScreen) {
    const std::vector<std::string> arguments = {
        "Geometry", "A first line long enough to wrap in the label of the box^^third line",
        "Yes;No;Cancel", "/DX=10", "/DY=-20"};
    Box box = open_box(quoted_line(arguments));
    ASSERT_TRUE(box.window != nullptr);
    HWND console = GetWindow(box.window, GW_OWNER);
    ASSERT_TRUE(console != nullptr);
    ASSERT_TRUE(IsWindowVisible(console) && !IsIconic(console));
    expect_geometry(box.window, arguments, false);
    answer(box, [&] { press(box, VK_ESCAPE); });
    EXPECT_EQ(finish(box), 0u);

    LaunchOptions minimised;
    minimised.console_show = SW_SHOWMINNOACTIVE;
    Box centred = open_box(quoted_line(arguments), minimised);
    ASSERT_TRUE(centred.window != nullptr);
    EXPECT_TRUE(IsIconic(GetWindow(centred.window, GW_OWNER)));
    expect_geometry(centred.window, arguments, true);
    answer(centred, [&] { press(centred, VK_ESCAPE); });
    EXPECT_EQ(finish(centred), 0u);
}

TEST(VemoBadInput, AbsurdCommandLinesStillShowABoxThatEnds) {
    std::string thousand;
    for (int i = 1; i <= 1000; ++i)
        thousand += (i > 1 ? ";" : "") + std::to_string(i);
    const std::vector<std::string> cases = {
        "T X A;B /FS=0",
        "T X A;B /FS=-5",
        "T X A;B /BW=-100",
        "T X A;B /WW=-1",
        "T X A;B /FS=0 /BW=-100 /WW=-1000",
        "T X \"\"",
        "T X " + thousand,
        "T \"" + std::string(30000, 'w') + "\" OK",
    };
    for (const std::string& args : cases) {
        SCOPED_TRACE(args.substr(0, 60));
        Box box = open_box(args);
        ASSERT_TRUE(box.window != nullptr);
        answer(box, [&] { press(box, VK_ESCAPE); });
        EXPECT_EQ(finish(box), 0u);
    }
    // The most negative countdown still ends on its first tick.
    Box box = open_box("T X A;B /TM=-2147483648 /DB=2");
    ASSERT_TRUE(box.window != nullptr);
    EXPECT_EQ(finish(box), 2u);
}

namespace {

void answer_box(HWND window, WORD vk, int click_id) {
    auto input = [&] {
        if (click_id > 0) {
            click_window_center(button(window, click_id));
        } else if (make_foreground(window)) {
            press_key(vk);
        }
    };
    EXPECT_TRUE(give(input, [&] { return !IsWindowVisible(window); }));
}

}  // namespace

TEST(VemoBatch, ScriptsBranchOnTheAnswer) {
    struct Case {
        WORD vk;
        int click_id;
        const char* way;
        DWORD code;
    };
    for (Case c : {Case{0, 3, "cancelled\r\n", 13}, Case{VK_ESCAPE, 0, "escaped\r\n", 10}}) {
        SCOPED_TRACE(c.way);
        std::string result = scratch_dir() + "\\way.txt";
        ToolRun run = start_script("vemo_answer.cmd", result);
        ASSERT_TRUE(run.process != nullptr);
        HWND box = wait_for_box("Batch question", "Keep the changes?");
        ASSERT_TRUE(box != nullptr);
        answer_box(box, c.vk, c.click_id);
        EXPECT_EQ(run_script(run), c.code);
        EXPECT_EQ(read_file(result), c.way);
    }
}

TEST(VemoBatch, ScriptLoopsUntilTheSecondButton) {
    std::string result = scratch_dir() + "\\rounds.txt";
    ToolRun run = start_script("vemo_rounds.cmd", result);
    ASSERT_TRUE(run.process != nullptr);
    HWND first = wait_for_box("Batch loop", "Round 1: go again?");
    ASSERT_TRUE(first != nullptr);
    answer_box(first, VK_RETURN, 0);
    HWND second = wait_for_box("Batch loop", "Round 2: go again?");
    ASSERT_TRUE(second != nullptr);
    answer_box(second, 0, 2);
    EXPECT_EQ(run_script(run), 2u);
    EXPECT_EQ(read_file(result), "stopped after 2\r\n");
}
