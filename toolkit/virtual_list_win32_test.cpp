// Virtual lists under the window system: the control asks the tool's text
// source for every line it shows, reads back, searches or measures.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "toolkit/toolkit.h"

namespace {

constexpr int LIST = 1;
constexpr int LIST_STYLE = 0x40004008 | LIST_VIRTUAL;  // as the list tool's
constexpr int MILLION = 1000000;

// "line N", made on demand into a buffer that lives until the next call.
const char* numbered_line(int index, void*) {
    static std::string text;
    text = "line " + std::to_string(index);
    return text.c_str();
}

const char* wide_line(int, void*) {
    return "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
}

// Greek lines in UTF-8, a line with a byte that is no UTF-8, and two lines
// that only a character beyond 16 bits tells apart.
const char* const UTF8_LINES[] = {
    "\xCE\x86\xCE\xBB\xCF\x86\xCE\xB1",            // Alpha, capital with tonos
    "\xCE\xB2\xCE\xAE\xCF\x84\xCE\xB1",            // beta
    "\xCE\x93\xCE\xAC\xCE\xBC\xCE\xBC\xCE\xB1",    // Gamma
    "\xCE\xB3\xCE\xAC\xCE\xBC\xCE\xBC\xCE\xB1 2",  // gamma 2
    "bad \xFF byte",
    "ab\xF0\x9F\x98\x80",
    "ab",
};

const char* utf8_line(int index, void*) {
    return UTF8_LINES[index];
}

// Cells set apart by "|"; the last column takes the rest of the line.
const char* bar_cell(const char* line, int column, bool last, size_t* length) {
    const char* start = line;
    for (int i = 0; i < column; ++i) {
        const char* bar = strchr(start, '|');
        start = bar ? bar + 1 : start + strlen(start);
    }
    const char* end = last ? nullptr : strchr(start, '|');
    *length = end ? static_cast<size_t>(end - start) : strlen(start);
    return start;
}

const char* const BAR_LINES[] = {"a|1|x", "b|22|y|z"};

const char* bar_line(int index, void*) {
    return BAR_LINES[index];
}

UINT title_format(int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(control_handle(LIST), LVM_GETHEADER, 0, 0));
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    return static_cast<UINT>(item.fmt) & (HDF_SORTUP | HDF_SORTDOWN);
}

class VirtualList : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prepare_toolkit(GetModuleHandleA(nullptr));
        window = open_window(0, 40, 40, 420, 320, "virtual", WS_CAPTION | WS_SYSMENU, nullptr);
    }
    static void TearDownTestSuite() { release_toolkit(); }
    void SetUp() override {
        ASSERT_NE(window, nullptr);
        ASSERT_NE(create_list_view(LIST, 10, 10, 300, 200, "", 200, LIST_STYLE), nullptr);
    }
    void TearDown() override {
        DestroyWindow(control_handle(LIST));
        while (poll_event() != 0) {
        }
    }
    static HWND window;
};
HWND VirtualList::window = nullptr;

int item_count() {
    return static_cast<int>(SendMessageA(control_handle(LIST), LVM_GETITEMCOUNT, 0, 0));
}

std::string text_through_control(int index, int column = 0) {
    char buffer[64] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(control_handle(LIST), LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::wstring wide_text_through_control(int index) {
    wchar_t buffer[64] = L"";
    LVITEMW item{};
    item.pszText = buffer;
    item.cchTextMax = 64;
    SendMessageW(control_handle(LIST), LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int find_wide_through_control(const wchar_t* text, UINT flags) {
    LVFINDINFOW find{};
    find.flags = flags;
    find.psz = text;
    return static_cast<int>(SendMessageW(control_handle(LIST), LVM_FINDITEMW,
                                         static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

int find_through_control(const char* text, UINT flags) {
    LVFINDINFOA find{};
    find.flags = flags;
    find.psz = text;
    return static_cast<int>(SendMessageA(control_handle(LIST), LVM_FINDITEMA,
                                         static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

}  // namespace

TEST_F(VirtualList, AMillionLinesComeFromTheSourceForEveryReader) {
    list_set_source(LIST, numbered_line, nullptr, MILLION);
    EXPECT_EQ(item_count(), MILLION);
    EXPECT_EQ(list_item_text(LIST, 123456), "line 123456");
    EXPECT_EQ(text_through_control(999999), "line 999999");
    EXPECT_EQ(list_item_text(LIST, MILLION), "");  // past the end
    list_select(LIST, 500000);
    EXPECT_EQ(list_selected_index(LIST), 500000);
    EXPECT_EQ(control_text(LIST), "line 500000");
    list_add_item(LIST, -1, "not taken");  // the lines are the source's alone
    EXPECT_EQ(item_count(), MILLION);
}

TEST_F(VirtualList, SearchesAreAnsweredFromTheSourceWithoutRegardToCase) {
    list_set_source(LIST, numbered_line, nullptr, 1000);
    EXPECT_EQ(find_through_control("LINE 77", LVFI_PARTIAL | LVFI_WRAP), 77);
    EXPECT_EQ(find_through_control("line 999", LVFI_STRING), 999);
    EXPECT_EQ(find_through_control("line 1000", LVFI_STRING), -1);
}

TEST_F(VirtualList, FittedWidthHoldsTheWholeLineAndLeavesTheListAsItWas) {
    list_set_source(LIST, numbered_line, nullptr, 3);
    int widths[256];
    ASSERT_TRUE(list_char_widths(LIST, widths));
    EXPECT_GT(widths['W'], widths['i']);
    std::string wide = wide_line(0, nullptr);
    int text = list_text_width(LIST, wide);
    EXPECT_GE(text, 50 * widths['W'] - 50);  // no kerning worth the name
    int fitted = list_fitted_width(LIST, wide);
    EXPECT_GT(fitted, text);  // the text and the list's padding around it
    EXPECT_LT(fitted, text + 60);
    EXPECT_EQ(item_count(), 3);
    EXPECT_EQ(SendMessageA(control_handle(LIST), LVM_GETCOLUMNWIDTH, 0, 0), 200);
    EXPECT_EQ(list_item_text(LIST, 0), "line 0");
}

TEST_F(VirtualList, EmptyListIsRuledAtTheRowPitchOfAFilledOne) {
    DestroyWindow(control_handle(LIST));
    ASSERT_NE(create_list_view(LIST, 10, 10, 300, 200, "", 200, LIST_STYLE | LIST_GRID_LINES),
              nullptr);
    set_control_color(LIST, COLOR_SLOT_BACK, RGB(255, 255, 255));
    set_control_color(LIST, COLOR_SLOT_LINE, RGB(255, 0, 0));
    list_set_source(LIST, wide_line, nullptr, 0);
    HWND list = control_handle(LIST);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(list);
    int rules = 0;
    for (int y = 0; y < 190; ++y)
        rules += GetPixel(dc, 100, y) == RGB(255, 0, 0);
    ReleaseDC(list, dc);
    EXPECT_GT(rules, 5);
}

TEST_F(VirtualList, Utf8LinesShowWideKeepTheirBytesAndAreFoundInAnyCase) {
    set_control_encoding(LIST, TEXT_UTF8);
    list_set_source(LIST, utf8_line, nullptr, 7);
    EXPECT_EQ(wide_text_through_control(0), L"\u0386\u03bb\u03c6\u03b1");
    EXPECT_EQ(wide_text_through_control(4), L"bad \uFFFD byte");
    EXPECT_EQ(wide_text_through_control(5), L"ab\U0001F600");
    EXPECT_EQ(list_item_text(LIST, 4), UTF8_LINES[4]);  // the bytes as the source has them
    // Upper case typed, lower case in the line, and the other way round.
    EXPECT_EQ(find_wide_through_control(L"\u0393\u0386\u039c", LVFI_PARTIAL | LVFI_WRAP), 2);
    EXPECT_EQ(find_wide_through_control(L"\u0393\u0386\u039c\u039c\u0391 2", LVFI_PARTIAL), 3);
    EXPECT_EQ(find_wide_through_control(L"\u03b3\u03ac\u03bc\u03bc\u03b1", LVFI_STRING), 2);
    EXPECT_EQ(find_wide_through_control(L"\u03b3\u03ac\u03bc\u03bc\u03b1 22", LVFI_PARTIAL), -1);
    EXPECT_EQ(find_wide_through_control(L"AB", LVFI_STRING), 6);
    EXPECT_EQ(find_through_control("BAD", LVFI_PARTIAL), 4);
}

TEST_F(VirtualList, ColumnsShowCellsUnderTitlesThatReportClicksAndCarrySortMarks) {
    EXPECT_EQ(list_header_height(LIST), 0);  // made without a title row
    EXPECT_EQ(list_row_height(LIST), 0);     // and without a line to measure
    DestroyWindow(control_handle(LIST));
    ASSERT_NE(create_list_view(LIST, 10, 10, 300, 200, "", 200, LIST_STYLE & ~LVS_NOCOLUMNHEADER),
              nullptr);
    list_set_source(LIST, bar_line, nullptr, 2);
    list_set_columns(LIST, {{"Name", 80}, {"Size", 50}, {"Rest", 60}}, bar_cell);
    ASSERT_EQ(list_column_count(LIST), 3);
    EXPECT_GT(list_header_height(LIST), 0);
    EXPECT_EQ(list_column_width(LIST, 1), 50);
    EXPECT_EQ(text_through_control(1, 0), "b");
    EXPECT_EQ(text_through_control(1, 1), "22");
    EXPECT_EQ(text_through_control(1, 2), "y|z");
    EXPECT_EQ(text_through_control(0, 2), "x");
    EXPECT_EQ(list_item_text(LIST, 1), "b|22|y|z");  // the line itself, for the answer
    int inside = list_inner_width(LIST);
    EXPECT_GT(inside, 250);
    EXPECT_LE(inside, 300);
    EXPECT_GT(list_row_height(LIST), 8);
    list_use_menu_look(LIST);
    EXPECT_EQ(GetWindowLongA(control_handle(LIST), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_GT(list_inner_width(LIST), inside);  // the sunken edge's room is the list's now

    list_set_sort_mark(LIST, 1, LIST_SORT_DOWN);
    EXPECT_EQ(title_format(1), static_cast<UINT>(HDF_SORTDOWN));
    list_set_sort_mark(LIST, 0, LIST_SORT_UP);
    EXPECT_EQ(title_format(0), static_cast<UINT>(HDF_SORTUP));
    EXPECT_EQ(title_format(1), 0u);

    // A quick second click on a title reaches the list as a double click.
    NMHEADERW twice{};
    twice.hdr.hwndFrom =
        reinterpret_cast<HWND>(SendMessageA(control_handle(LIST), LVM_GETHEADER, 0, 0));
    twice.hdr.code = HDN_ITEMDBLCLICKW;
    twice.iItem = 2;
    SendMessageW(control_handle(LIST), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&twice));
    bool clicked = false;
    for (int kind = poll_event(); kind != 0 && !clicked; kind = poll_event())
        clicked = kind == EVENT_CONTROL && event_detail() == DETAIL_COLUMN_CLICK + 2;
    EXPECT_TRUE(clicked);
}
