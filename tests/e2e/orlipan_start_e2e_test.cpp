// How the list tool starts: on a chosen line (/sel), with a query already in
// the filter box (/query), answering at once when the start leaves no choice
// (/auto), the reports of their bad values, and the filter's case folding in
// every script with /utf8, driven with real keys.
#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <iostream>

namespace {

using Lines = std::vector<std::string>;

const Lines COLOURS = {"red", "orange", "yellow", "Green", "blue", "salt & pepper"};

std::string box_text(Pick& pick) {
    char text[256] = "";
    SendMessageA(child_by_class(pick.window, "Edit"), WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

bool in_view(HWND list, int row) {
    int top = (int)SendMessageA(list, LVM_GETTOPINDEX, 0, 0);
    int rows = (int)SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0);
    return row >= top && row < top + rows;
}

void accept_and_expect(Pick& pick, DWORD code, const std::string& output) {
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, code);
    EXPECT_EQ(end.output, output);
}

void cancel(Pick& pick) {
    press_in(pick, VK_ESCAPE);
    finish(pick);
}

// orlipan on `list_bytes` in list.txt, its UTF-8 arguments passed wide.
Pick start_wide_pick(const std::string& list_bytes, const std::string& args) {
    std::string dir = scratch_dir();
    write_file(dir + "\\list.txt", list_bytes);
    LaunchOptions options;
    options.working_dir = dir;
    options.wide_arguments = true;
    Pick pick = start_pick_with("list.txt " + args, options);
    find_pick_window(pick);
    return pick;
}

// A run that must end on its own: had a window shown, it would wait for
// the user, who never comes. `wide`: the UTF-8 arguments passed wide.
Ending run_without_window(const std::string& list_bytes, const std::string& args,
                          bool from_input = false, bool wide = false) {
    std::string dir = scratch_dir();
    write_file(dir + "\\list.txt", list_bytes);
    LaunchOptions options;
    options.working_dir = dir;
    options.wide_arguments = wide;
    if (from_input) {
        options.input = INPUT_FILE;
        options.input_file = dir + "\\list.txt";
    }
    ToolRun run = start_tool("orlipan.exe", (from_input ? "- " : "list.txt ") + args, options);
    Ending end;
    end.ended = wait_exit(run, EXIT_TIMEOUT_MS, &end.exit_code);
    end.output = output_bytes(run);
    kill_tool(run);
    return end;
}

}  // namespace

TEST(PickStart, SelStartsOnALineByNumberByTextOrAtTheEnd) {
    Lines many;
    for (int i = 1; i <= 200; ++i)
        many.push_back("line " + std::to_string(i));
    Pick pick = start_pick(lines_text(many), "T $item /sel=150");
    ASSERT_TRUE(pick.window);
    EXPECT_TRUE(starts_on(pick.list, 149));
    EXPECT_TRUE(in_view(pick.list, 149));
    accept_and_expect(pick, 150, "line 150");

    Pick past = start_pick(lines_text(many), "T $item /sel=99999999999");
    ASSERT_TRUE(past.window);
    EXPECT_TRUE(starts_on(past.list, 199));
    EXPECT_TRUE(in_view(past.list, 199));
    cancel(past);

    // A text is compared whole, without regard to case.
    Pick text = start_pick(lines_text(COLOURS), "T $item \"/sel=SALT & PEPPER\"");
    ASSERT_TRUE(text.window);
    EXPECT_TRUE(starts_on(text.list, 5));
    accept_and_expect(text, 6, "salt & pepper");

    Pick none = start_pick(lines_text(COLOURS), "T $item /sel=gree");
    ASSERT_TRUE(none.window);
    EXPECT_TRUE(starts_on(none.list, 0));
    cancel(none);
}

TEST(PickStart, SelWorksWithTheFilterInMenuModeAndForSeveralLines) {
    Pick filtered = start_pick(lines_text(COLOURS), "T $item /filter /sel=green");
    ASSERT_TRUE(filtered.window);
    EXPECT_EQ(box_text(filtered), "");
    EXPECT_TRUE(starts_on(filtered.list, 3));
    accept_and_expect(filtered, 4, "Green");

    // In menu mode the line has the focus as the arrow keys would give it.
    Pick menu = start_pick(lines_text(COLOURS), "T $item /menu /sel=3");
    ASSERT_TRUE(menu.window);
    EXPECT_TRUE(starts_on(menu.list, 2));
    press_in(menu, VK_DOWN);
    EXPECT_TRUE(wait_until([&] { return selected_line(menu.list) == 3; }));
    accept_and_expect(menu, 4, "Green");

    Pick multi = start_pick(lines_text(COLOURS), "T $item /multi /sel=5,2,99");
    ASSERT_TRUE(multi.window);
    EXPECT_TRUE(wait_until([&] {
        return selected_lines(multi.list) == std::vector<int>{1, 4, 5};
    }));
    accept_and_expect(multi, 3, "orange\r\nblue\r\nsalt & pepper");
}

TEST(PickStart, QueryNarrowsAtTheStartAndEscapeEmptiesIt) {
    // Lines with and without an "e", so that the start shows the narrowing.
    const Lines lines = {"red", "pink", "Green", "gold", "blue", "salt & pepper"};
    Pick pick = start_pick(lines_text(lines), "T $item /filter /query=E");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(box_text(pick), "E");
    // Narrowed before the window shows, without regard to case.
    EXPECT_EQ(shown_lines(pick), (Lines{"red", "Green", "blue", "salt & pepper"}));
    // The caret stands at the end: typing goes on after the query.
    press_in(pick, 'N');
    EXPECT_TRUE(wait_until([&] { return box_text(pick) == "En"; }));
    EXPECT_TRUE(wait_until([&] { return shown_lines(pick) == Lines{"Green"}; }));
    press_in(pick, VK_ESCAPE);
    EXPECT_TRUE(wait_until([&] { return box_text(pick).empty() && shown_lines(pick) == lines; }));
    cancel(pick);

    // With /sel the line is looked for among those the query leaves.
    Pick both = start_pick(lines_text(COLOURS), "T $item /filter /query=l /sel=blue");
    ASSERT_TRUE(both.window);
    EXPECT_EQ(shown_lines(both), (Lines{"yellow", "blue", "salt & pepper"}));
    EXPECT_TRUE(starts_on(both.list, 1));
    accept_and_expect(both, 5, "blue");
}

TEST(PickStart, AutoAnswersOneLineAtOnceAndEndsWhenNoneIsShown) {
    const std::string list = lines_text(COLOURS);
    Ending one = run_without_window(list, "T \"x=$item\" /filter /query=pep /auto");
    EXPECT_TRUE(one.ended);
    EXPECT_EQ(one.exit_code, 6u);
    EXPECT_EQ(one.output, "x=salt & pepper");

    Ending piped = run_without_window("only\r\n", "T $item /auto", true);
    EXPECT_TRUE(piped.ended);
    EXPECT_EQ(piped.exit_code, 1u);
    EXPECT_EQ(piped.output, "only");

    Ending chosen = run_without_window(list, "T $item /multi /filter /query=yel /auto");
    EXPECT_EQ(chosen.exit_code, 1u);
    EXPECT_EQ(chosen.output, "yellow");

    // None shown: ended as a cancel, by the query or by an empty list.
    for (Ending none : {run_without_window(list, "T $item /filter /query=purple /auto"),
                        run_without_window("", "T $item /auto /sel=2")}) {
        EXPECT_TRUE(none.ended);
        EXPECT_EQ(none.exit_code, 0u);
        EXPECT_EQ(none.output, "");
    }

    // Several lines: the window shows as without /auto.
    Pick several = start_pick(list, "T $item /filter /query=re /auto");
    ASSERT_TRUE(several.window);
    EXPECT_EQ(shown_lines(several), (Lines{"red", "Green"}));
    accept_and_expect(several, 1, "red");
}

TEST(PickStart, BadValuesAndALoneQueryAreReportedAsTyped) {
    EXPECT_EQ(pick_report("T /sel=0"), "Invalid Option: /sel=0");
    EXPECT_EQ(pick_report("T /multi /SEL=2,,3"), "Invalid Option: /SEL=2,,3");
    EXPECT_EQ(pick_report("T /query=red"), "Invalid Option: /query=red");
    EXPECT_EQ(pick_report("T /autox"), "Invalid Option: /autox");
}

TEST(PickStart, Utf8FilterIgnoresCaseInCyrillicAndGreek) {
    const Lines lines = {"ЦВЕТ", "ΧΡΏΜΑ", "цвет синий", "Colour"};
    Pick pick = start_pick(lines_text(lines), "T $item /utf8 /filter");
    ASSERT_TRUE(pick.window);
    auto shown = [&] {
        Lines out;
        int count = (int)SendMessageA(pick.list, LVM_GETITEMCOUNT, 0, 0);
        for (int i = 0; i < count; ++i)
            out.push_back(remote_item_text_utf8(pick.run.process, pick.list, i));
        return out;
    };
    for (wchar_t c : std::wstring(L"цв"))
        type_character(pick, c);
    EXPECT_TRUE(wait_until([&] { return shown() == Lines{"ЦВЕТ", "цвет синий"}; }));
    press_in(pick, VK_ESCAPE);
    EXPECT_TRUE(wait_until([&] { return shown() == lines; }));
    for (wchar_t c : std::wstring(L"χρώ"))
        type_character(pick, c);
    EXPECT_TRUE(wait_until([&] { return shown() == Lines{"ΧΡΏΜΑ"}; }));
    accept_and_expect(pick, 2, "ΧΡΏΜΑ");
}

// A character the list's code page lacks is not replaced by a likeness: on
// code page 1252 "Ж" would become "?" and "ł" would become "l". Such a query
// matches no line and such a /sel starts the list as without it; a UTF-8
// list (/utf8) keeps every character. The ANSI cases need a code page
// without Ж and ł; 1252 is named here, and others skip.
TEST(PickStart, TextTheListsCodePageLacksMatchesNothing) {
    const Lines ansi = {"Why?", "l", "plain"};
    const std::string query = "/filter \"/query=\u0416\"";
    if (GetACP() == 1252) {
        Ending automatic =
            run_without_window(lines_text(ansi), "T $item /auto " + query, false, true);
        EXPECT_TRUE(automatic.ended);
        EXPECT_EQ(automatic.exit_code, 0u);  // a cancel: nothing shown, nothing answered
        EXPECT_EQ(automatic.output, "");

        Pick shown = start_wide_pick(lines_text(ansi), "T $item " + query);
        ASSERT_TRUE(shown.window);
        EXPECT_EQ(window_text_utf8(child_by_class(shown.window, "Edit")), "\u0416");
        EXPECT_TRUE(shown_lines(shown).empty());
        // Emptied, the box shows every line again.
        press_in(shown, VK_ESCAPE);
        EXPECT_TRUE(wait_until([&] { return shown_lines(shown) == ansi; }));
        cancel(shown);

        Pick selected = start_wide_pick(lines_text(ansi), "T $item /sel=\u0142");
        ASSERT_TRUE(selected.window);
        EXPECT_TRUE(starts_on(selected.list, 0));
        accept_and_expect(selected, 1, "Why?");
    } else {
        std::cout << "[ SKIPPED  ] the ANSI cases: code page " << GetACP() << ", not 1252\n";
    }

    const Lines utf8 = {"Why?", "l", "\u0416\u0443\u043a", "\u0142"};
    Ending found =
        run_without_window(lines_text(utf8), "T $item /utf8 /auto " + query, false, true);
    EXPECT_EQ(found.exit_code, 3u);
    EXPECT_EQ(found.output, "\u0416\u0443\u043a");
    Pick kept = start_wide_pick(lines_text(utf8), "T $item /utf8 /sel=\u0142");
    ASSERT_TRUE(kept.window);
    EXPECT_TRUE(starts_on(kept.list, 3));
    accept_and_expect(kept, 4, "\u0142");
}
