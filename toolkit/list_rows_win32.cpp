// The rows of a list as the other list files read them: line texts, whether
// the lines stay with the tool, and a temporary line to measure on.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "toolkit/list_rows_win32.h"
#include "toolkit/text_encoding_win32.h"

static_assert(LIST_VIRTUAL == LVS_OWNERDATA,
              "a virtual list is an owner-data list view: the flag goes into its style as it is");

namespace {

// Keeps the selection, focus and scroll place the control has.
void set_virtual_count(HWND list, int count) {
    send_to(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count),
            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

}  // namespace

int first_selected(HWND list) {
    return static_cast<int>(send_to(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool list_takes_several(HWND list) {
    return (GetWindowLongA(list, GWL_STYLE) & LVS_SINGLESEL) == 0;
}

bool is_virtual_list(const ControlRecord& record) {
    return (GetWindowLongA(record.handle, GWL_STYLE) & LVS_OWNERDATA) != 0;
}

const char* virtual_line(const ControlRecord& record, int index) {
    if (record.measured_text) {
        return index == 0 ? record.measured_text : "";
    }
    if (!record.source || index < 0 || index >= record.virtual_count) {
        return "";
    }
    const char* text = record.source(index, record.source_context);
    return text ? text : "";
}

std::string item_text(const ControlRecord& record, int index) {
    if (index < 0) {
        return "";
    }
    if (is_virtual_list(record)) {
        return virtual_line(record, index);
    }
    // No line has more UTF-16 units than the tool gave it bytes.
    std::wstring buffer(record.longest_text + 1, L'\0');
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = 0;
    item.pszText = &buffer[0];
    item.cchTextMax = static_cast<int>(buffer.size());
    if (!send_to(record.handle, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ||
        !item.pszText) {
        return "";
    }
    // The control may answer with a pointer to its own copy instead of filling ours.
    return from_wide_text(item.pszText, wcslen(item.pszText), record.encoding);
}

void suspend_redraw(ControlRecord& record) {
    if (record.update_depth++ == 0) {
        send_to(record.handle, WM_SETREDRAW, FALSE, 0);
    }
}

void resume_redraw(ControlRecord& record) {
    if (record.update_depth > 0 && --record.update_depth == 0) {
        send_to(record.handle, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(record.handle, nullptr, TRUE);
    }
}

// Some list controls redraw line by line while they change every line, which
// for a million lines takes far longer than the change itself; one redraw
// after it is enough.
void set_every_selection(ControlRecord& record, UINT state) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = state;
    suspend_redraw(record);
    send_to(record.handle, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(&item));
    resume_redraw(record);
}

void set_item_state(HWND list, int index, UINT state) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    send_to(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int with_temporary_line(ControlRecord& record, const char* text,
                        const std::function<int(HWND)>& measure) {
    HWND list = record.handle;
    if (is_virtual_list(record)) {
        int count = record.virtual_count;
        record.measured_text = text;
        set_virtual_count(list, 1);
        int answer = measure(list);
        set_virtual_count(list, count);
        record.measured_text = nullptr;
        return answer;
    }
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>(text);
    if (send_to(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0) {
        return 0;
    }
    int answer = measure(list);
    send_to(list, LVM_DELETEITEM, 0, 0);
    return answer;
}

bool measure_row(ControlRecord& record) {
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (!with_temporary_line(record, "", [&](HWND list) {
            return static_cast<int>(
                send_to(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
        })) {
        return false;
    }
    record.row_measured = true;
    record.row_top = row.top;
    record.row_bottom = row.bottom;
    return true;
}
