// Lists in columns (/tab) under header lines (/header=N): the cells and
// titles read through the list's own messages, sorting by a click on a
// title, header lines that the filter never matches, the fields of the
// answer in the template, and the reports of bad values.
#include "tests/e2e/driver.h"
#include "tests/e2e/pick_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

const Lines FILES = {
    "Name\tSize\tKind",          "alpha.txt\t100\ttext", "beta\t9",
    "gamma.log\t10\tlog\textra", "delta.txt\t\ttext",
};

bool column_becomes(Pick& pick, int column, const Lines& cells) {
    return wait_until([&] { return shown_column(pick, column) == cells; });
}

}  // namespace

TEST(PickColumns, CellsSortByNumberBothWaysAndTheAnswerIsTheLinesOwn) {
    Pick pick = start_pick(lines_text(FILES), "T \"$2|$1|$4\" /tab /header=1 /filter");
    ASSERT_TRUE(pick.window);
    HANDLE process = pick.run.process;
    ASSERT_EQ(column_count(pick.list), 4);
    EXPECT_EQ(remote_column_title(process, pick.list, 0), "Name");
    EXPECT_EQ(remote_column_title(process, pick.list, 2), "Kind");
    EXPECT_EQ(remote_column_title(process, pick.list, 3), "");
    EXPECT_EQ(shown_column(pick, 0), (Lines{"alpha.txt", "beta", "gamma.log", "delta.txt"}));
    EXPECT_EQ(shown_column(pick, 2), (Lines{"text", "", "log", "text"}));
    EXPECT_EQ(shown_column(pick, 3), (Lines{"", "", "extra", ""}));

    // An empty cell does not make the column text; it comes first.
    click_title(pick, 1);
    EXPECT_TRUE(column_becomes(pick, 1, Lines{"", "9", "10", "100"}));
    click_title(pick, 1);
    EXPECT_TRUE(column_becomes(pick, 1, Lines{"100", "10", "9", ""}));
    // Typing keeps the order the click chose.
    type_character(pick, L'x');
    EXPECT_TRUE(column_becomes(pick, 0, Lines{"alpha.txt", "gamma.log", "delta.txt"}));
    click_title(pick, 0);
    EXPECT_TRUE(column_becomes(pick, 0, Lines{"alpha.txt", "delta.txt", "gamma.log"}));

    click_line(pick, 0, true);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 2u);  // line 2 of the file: the header counts
    EXPECT_EQ(end.output, "100|alpha.txt|");
}

TEST(PickColumns, HeaderLinesStayAboveAndTheFilterNeverMatchesThem) {
    const Lines lines = {"Named colours", "Name & shade", "red", "blue", "named"};
    Pick pick = start_pick(lines_text(lines), "T $item /header=2 /filter");
    ASSERT_TRUE(pick.window);
    EXPECT_EQ(shown_lines(pick), (Lines{"red", "blue", "named"}));
    EXPECT_EQ(remote_column_title(pick.run.process, pick.list, 0), "Name & shade");
    EXPECT_TRUE(child_by_text(pick.window, "Static", "Named colours"));
    // The band and the title row sit between the box and the first line.
    RECT band = rect_in_client(pick.window, child_by_class(pick.window, "Static"));
    RECT list = rect_in_client(pick.window, pick.list);
    RECT box = rect_in_client(pick.window, child_by_class(pick.window, "Edit"));
    EXPECT_GE(band.top, box.bottom);
    EXPECT_GE(list.top, band.bottom);
    for (wchar_t c : std::wstring(L"name"))
        type_character(pick, c);
    EXPECT_TRUE(wait_until([&] { return shown_lines(pick) == Lines{"named"}; }));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 5u);
    EXPECT_EQ(end.output, "named");

    // Fewer lines than the header asks for: all header, nothing to pick.
    Pick all_header = start_pick(lines_text({"one", "two"}), "T $item /header=3 /sel=2");
    ASSERT_TRUE(all_header.window);
    EXPECT_TRUE(shown_lines(all_header).empty());
    expect_enter_ignored_then_escape_cancels(all_header);
}

TEST(PickColumns, FieldsFillTheTemplateQuotedPerLineAndOnlyWithTab) {
    const std::string list = lines_text({"a b\tone", "c\ttwo"});
    Pick several = start_pick(list, "T \"$2=$1 $item $3\" /tab /quote /multi");
    ASSERT_TRUE(several.window);
    ASSERT_TRUE(make_foreground(several.window));
    press_key('A', false, true);
    EXPECT_TRUE(wait_until([&] { return selected_lines(several.list).size() == 2; }));
    press_in(several, VK_RETURN);
    Ending end = finish(several);
    EXPECT_EQ(end.exit_code, 2u);
    EXPECT_EQ(end.output, "\"one\"=\"a b\" \"a b\tone\" \"\"\r\n\"two\"=\"c\" \"c\ttwo\" \"\"");

    Pick plain = start_pick(list, "T \"$1 $item\"");
    ASSERT_TRUE(plain.window);
    press_in(plain, VK_RETURN);
    EXPECT_EQ(finish(plain).output, "$1 a b\tone");
}

TEST(PickColumns, Utf8ColumnsFromAPipe) {
    LaunchOptions options;
    options.working_dir = scratch_dir();
    options.input = INPUT_PIPE;
    Pick pick = start_pick_with("- T $2 /tab /utf8 /header=1", options);
    // As bytes "С" (D0 A1) comes before "к" (D0 BA); folded, "с" (D1 81)
    // comes after "к", as in the alphabet: only a sort that folds puts
    // "красный" first.
    HANDLE feeder = feed_input(pick.run, lines_text({"Имя\tЦвет", "небо\tСиний", "мак\tкрасный"}));
    ASSERT_TRUE(find_pick_window(pick));
    EXPECT_EQ(remote_item_text_utf8(pick.run.process, pick.list, 1, 1), "красный");
    EXPECT_TRUE(starts_on(pick.list, 0));
    click_title(pick, 1);
    EXPECT_TRUE(wait_until(
        [&] { return remote_item_text_utf8(pick.run.process, pick.list, 0, 1) == "красный"; }));
    // The chosen line stays chosen in its new place.
    EXPECT_TRUE(wait_until([&] { return selected_line(pick.list) == 1; }));
    press_in(pick, VK_RETURN);
    Ending end = finish(pick);
    EXPECT_EQ(end.exit_code, 2u);
    EXPECT_EQ(end.output, "Синий");
    WaitForSingleObject(feeder, 5000);
    CloseHandle(feeder);
}

TEST(PickColumns, BadValuesAreReportedAsTyped) {
    EXPECT_EQ(pick_report("T /tab /menu"), "Invalid Option: /tab");
    EXPECT_EQ(pick_report("T /MENU /TAB"), "Invalid Option: /TAB");
    EXPECT_EQ(pick_report("T /header=0"), "Invalid Option: /header=0");
    EXPECT_EQ(pick_report("T /Header=10"), "Invalid Option: /Header=10");
}
