// What the tools do with the lines of a list: adding, selecting, reading back
// and measuring them, and handing over a virtual list's lines.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "toolkit/fonts_win32.h"
#include "toolkit/list_rows_win32.h"
#include "toolkit/list_view_win32.h"
#include "toolkit/virtual_list_win32.h"
#include "toolkit/text_encoding_win32.h"

namespace {

ControlRecord* find_virtual_list(int id) {
    ControlRecord* record = find_list(id);
    return record && is_virtual_list(*record) ? record : nullptr;
}

}  // namespace

void list_add_item(int id, int position, const std::string& text) {
    ControlRecord* record = find_list(id);
    if (!record || is_virtual_list(*record)) {
        return;
    }
    std::wstring line = to_wide_text(text, record->encoding);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    // An index past the last line appends (documented for LVM_INSERTITEM),
    // which spares a count query per line while a list fills.
    item.iItem = position < 0 ? INT_MAX : position;
    item.pszText = &line[0];
    item.lParam = 0;
    send_to(record->handle, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    record->longest_text = std::max(record->longest_text, text.size());
}

int list_selected_index(int id) {
    ControlRecord* record = find_list(id);
    return record ? first_selected(record->handle) : -1;
}

void list_select(int id, int index) {
    ControlRecord* record = find_list(id);
    if (!record) {
        return;
    }
    HWND list = record->handle;
    // The count first: some list controls look for a selected line by asking
    // line after line, which in a list of a million with nothing selected is
    // a long way to go for no line. Several lines are cleared in one message.
    int selected = static_cast<int>(send_to(list, LVM_GETSELECTEDCOUNT, 0, 0));
    if (selected > 1) {
        set_every_selection(*record, 0);
    }
    // Bounded, so a control that refuses to clear a state cannot hang the tool.
    for (int guard = selected; guard-- > 0 && send_to(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;) {
        set_item_state(list, first_selected(list), 0);
    }
    if (index < 0) {
        return;
    }
    set_item_state(list, index, LVIS_SELECTED | LVIS_FOCUSED);
    send_to(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), TRUE);
}

void list_add_selection(int id, int index) {
    ControlRecord* record = find_list(id);
    if (record && index >= 0) {
        ListView_SetItemState(record->handle, index, LVIS_SELECTED, LVIS_SELECTED);
    }
}

std::vector<int> list_selected_indexes(int id) {
    std::vector<int> indexes;
    ControlRecord* record = find_list(id);
    if (!record) {
        return indexes;
    }
    HWND list = record->handle;
    int count = static_cast<int>(send_to(list, LVM_GETITEMCOUNT, 0, 0));
    for (int line = first_selected(list); line != -1 && static_cast<int>(indexes.size()) < count;
         line = static_cast<int>(
             send_to(list, LVM_GETNEXTITEM, static_cast<WPARAM>(line), LVNI_SELECTED))) {
        indexes.push_back(line);
    }
    return indexes;
}

void list_scroll_to(int id, int index) {
    ControlRecord* record = find_list(id);
    if (record) {
        send_to(record->handle, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    }
}

std::string list_item_text(int id, int index) {
    ControlRecord* record = find_list(id);
    return record ? item_text(*record, index) : "";
}

void list_begin_update(int id) {
    ControlRecord* record = find_list(id);
    if (record) {
        suspend_redraw(*record);
    }
}

void list_end_update(int id) {
    ControlRecord* record = find_list(id);
    if (record) {
        resume_redraw(*record);
    }
}

void list_set_source(int id, ListTextSource source, void* context, int count) {
    ControlRecord* record = find_virtual_list(id);
    if (record) {
        set_virtual_source(*record, source, context, count);
    }
}

void list_add_rows(int id, int count) {
    ControlRecord* record = find_virtual_list(id);
    if (record) {
        add_virtual_rows(*record, count);
    }
}

int list_fitted_width(int id, const std::string& text) {
    ControlRecord* record = find_virtual_list(id);
    return record ? virtual_fitted_width(*record, text) : 0;
}

bool list_char_widths(int id, int widths[256]) {
    ControlRecord* record = find_list(id);
    return record && in_control_font(record->handle, [&](HDC dc) {
               return GetCharWidth32A(dc, 0, 255, widths) != 0;
           });
}

int list_text_width(int id, const std::string& text) {
    ControlRecord* record = find_list(id);
    if (!record) {
        return 0;
    }
    std::wstring wide = to_wide_text(text, record->encoding);
    return static_cast<int>(
        send_to(record->handle, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

bool list_code_point_widths(int id, unsigned first, int widths[256]) {
    ControlRecord* record = find_list(id);
    return record && in_control_font(record->handle, [&](HDC dc) {
               return GetCharWidth32W(dc, first, first + 255, widths) != 0;
           });
}
