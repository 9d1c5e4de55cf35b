// The grid the toolkit draws over a list with LIST_GRID_LINES after the list
// painted itself, so that the empty area under the last line is ruled too.
#include <windows.h>
#include <commctrl.h>

#include "toolkit/grid_lines.h"
#include "toolkit/grid_lines_win32.h"
#include "toolkit/list_rows_win32.h"

namespace {

// Line 0's bounds; for an empty list those of a temporary line, measured once
// per font, with the right edge at the end of column 0. A virtual list is
// measured when its lines are handed over, never while it paints.
bool line_zero_bounds(ControlRecord& record, RECT* bounds) {
    HWND list = record.handle;
    if (send_to(list, LVM_GETITEMCOUNT, 0, 0) > 0) {
        bounds->left = LVIR_BOUNDS;
        return send_to(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(bounds)) != 0;
    }
    if (!record.row_measured && (is_virtual_list(record) || !measure_row(record))) {
        return false;
    }
    bounds->top = record.row_top;
    bounds->bottom = record.row_bottom;
    bounds->left = 0;
    bounds->right = static_cast<int>(send_to(list, LVM_GETCOLUMNWIDTH, 0, 0));
    return true;
}

void draw_line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void draw_grid_lines(ControlRecord& record, HDC dc, DWORD comctl_major) {
    RECT client;
    RECT line;
    if (!GetClientRect(record.handle, &client) || !line_zero_bounds(record, &line)) {
        return;
    }
    COLORREF color =
        record.line_color != COLOR_NONE ? record.line_color : GetSysColor(COLOR_BTNFACE);
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    for (int y : grid_rule_rows(line.top, line.bottom, client.bottom)) {
        draw_line(dc, 0, y, client.right, y);
    }
    if (comctl_major < 6) {
        // Older controls leave a stray ruling at the top edge; cover it.
        COLORREF back = static_cast<COLORREF>(send_to(record.handle, LVM_GETBKCOLOR, 0, 0));
        HPEN back_pen = CreatePen(PS_SOLID, 1, back);
        SelectObject(dc, back_pen);
        draw_line(dc, 0, 0, client.right, 0);
        draw_line(dc, 0, 1, client.right, 1);
        SelectObject(dc, pen);
        DeleteObject(back_pen);
    }
    draw_line(dc, line.right - 1, 0, line.right - 1, client.bottom);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
}

}  // namespace

LRESULT grid_custom_draw(ControlRecord& record, NMLVCUSTOMDRAW& draw, DWORD comctl_major) {
    LONG style = GetWindowLongA(record.handle, GWL_STYLE);
    if (!record.grid_lines || (style & LVS_TYPEMASK) != LVS_REPORT) {
        return CDRF_DODEFAULT;
    }
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        return IsWindowEnabled(record.handle) ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    }
    if (draw.nmcd.dwDrawStage == CDDS_POSTPAINT) {
        draw_grid_lines(record, draw.nmcd.hdc, comctl_major);
    }
    return CDRF_DODEFAULT;
}
