#include "tests/e2e/pick_measure.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

// The tool's list styles and its creation size at 96 DPI.
constexpr DWORD TWIN_LIST_STYLE = 0x5001404D;
constexpr DWORD TWIN_LIST_EX_STYLE = 0x00010020;
constexpr int TWIN_CREATION_SIZE = 200;

}  // namespace

TwinFit twin_fit(const std::vector<std::string>& lines, int dpi) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    const int size = MulDiv(TWIN_CREATION_SIZE, dpi, 96);
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 2 * size, 2 * size, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "SysListView32", "", TWIN_LIST_STYLE, 0, 0, size,
                                size, parent, nullptr, nullptr, nullptr);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, TWIN_LIST_EX_STYLE);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.cx = size;
    column.pszText = (char*)"";
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, (LPARAM)&column);
    HFONT font = CreateFontA(-MulDiv(PICK_E2E_FONT_SIZE, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                             DEFAULT_CHARSET, 0, 0, 0, 0, "Verdana");
    SendMessageA(list, WM_SETFONT, (WPARAM)font, TRUE);
    for (size_t i = 0; i < lines.size(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = (int)i;
        item.pszText = (char*)lines[i].c_str();
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    }
    TwinFit fit;
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
    fit.header = (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
    fit.line = (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0);
    DestroyWindow(parent);
    DeleteObject(font);
    return fit;
}

int row_height(Pick& pick) {
    RECT row = remote_item_rect(pick.run.process, pick.list, 0);
    return row.bottom > row.top ? row.bottom - row.top : PICK_DEFAULT_ROW_HEIGHT;
}

GeometryInput measured_geometry_input(int count, int row, int column, int dpi) {
    GeometryInput in;
    in.item_count = count;
    in.row_height = row;
    in.column_width = column;
    in.font_size = PICK_E2E_FONT_SIZE;
    RECT work = work_area();
    in.work_area = PickRect{work.left, work.top, work.right, work.bottom};
    in.dpi = dpi;
    return in;
}

void expect_pick_geometry(Pick& pick, const PickGeometry& expected) {
    RECT outer = window_rect(pick.window);
    RECT inner = {};
    GetClientRect(pick.window, &inner);
    EXPECT_EQ(outer.left, expected.x);
    EXPECT_EQ(outer.top, expected.y);
    EXPECT_EQ(inner.right, expected.inner_width);
    EXPECT_EQ(inner.bottom, expected.inner_height);
}

void expect_list_margin(HWND window, HWND list, int margin) {
    RECT inner = {};
    GetClientRect(window, &inner);
    RECT placed = rect_in_client(window, list);
    EXPECT_EQ(placed.left, margin);
    EXPECT_EQ(placed.top, margin);
    EXPECT_EQ(placed.right, inner.right - margin);
    EXPECT_EQ(placed.bottom, inner.bottom - margin);
}
