// Lists whose lines stay with the tool (owner data): the control keeps only
// the count and the selection and asks for the text of each line it draws,
// reads back or searches. Nothing is stored per line, so filling and
// destroying a list of a million lines costs no more than one of three.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "frame/text.h"
#include "frame/utf8.h"
#include "toolkit/list_search.h"
#include "toolkit/list_rows_win32.h"
#include "toolkit/virtual_list_win32.h"
#include "toolkit/text_encoding_win32.h"

namespace {

LRESULT find_line(const ControlRecord& record, int start, UINT flags, const std::string& wanted) {
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL))) {
        return -1;  // searches by item data or position have nothing to find here
    }
    ListSearch search;
    search.wanted = wanted;
    search.start = start;
    search.partial = (flags & LVFI_PARTIAL) != 0;
    search.wrap = (flags & LVFI_WRAP) != 0;
    // The case folding of the ANSI code page, which the control's own search
    // of lines it stores also uses.
    return find_list_line(
        search, record.virtual_count, [&](int i) { return virtual_line(record, i); },
        ansi_fold_table());
}

// Lines of a UTF-8 list are compared as UTF-16, each side lowered by the
// system's case mapping, which covers every script.
LRESULT find_utf8_line(const ControlRecord& record, int start, UINT flags, std::wstring wanted) {
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL))) {
        return -1;
    }
    bool partial = (flags & LVFI_PARTIAL) != 0;
    if (!wanted.empty()) {
        CharLowerBuffW(&wanted[0], static_cast<DWORD>(wanted.size()));
    }
    // Room for the wanted text and one more character of either length, so
    // that a longer line is never taken for an equal one.
    std::vector<wchar_t> line(wanted.size() + 3);
    int capacity = static_cast<int>(line.size());
    auto matches = [&](int i) {
        int length = utf16_from_utf8_into(virtual_line(record, i),
                                          reinterpret_cast<char16_t*>(line.data()), capacity);
        if (length < static_cast<int>(wanted.size())) {
            return false;
        }
        CharLowerBuffW(line.data(), static_cast<DWORD>(length));
        if (wanted.compare(0, wanted.size(), line.data(), wanted.size()) != 0) {
            return false;
        }
        return partial || length == static_cast<int>(wanted.size());
    };
    return find_list_line_where(start, (flags & LVFI_WRAP) != 0, record.virtual_count, matches);
}

LRESULT find_wide(const ControlRecord& record, int start, UINT flags, const wchar_t* wanted) {
    if (record.encoding == TEXT_UTF8) {
        return find_utf8_line(record, start, flags, wanted ? wanted : L"");
    }
    const wchar_t* text = wanted ? wanted : L"";
    return find_line(record, start, flags, from_wide_text(text, wcslen(text), TEXT_ANSI));
}

LRESULT find_ansi(const ControlRecord& record, int start, UINT flags, const char* wanted) {
    if (record.encoding == TEXT_UTF8) {
        return find_utf8_line(record, start, flags, to_wide_text(wanted ? wanted : "", TEXT_ANSI));
    }
    return find_line(record, start, flags, wanted ? wanted : "");
}

// The text a virtual list draws at a row and column: the line, or its cell
// where the list has columns. A temporary line being measured is shown whole.
std::string shown_cell(const ControlRecord& record, int index, int column) {
    const char* line = virtual_line(record, index);
    if (!record.cells || record.measured_text)
        return line;
    size_t length = 0;
    const char* cell = record.cells(line, column, column == record.column_count - 1, &length);
    return cell ? std::string(cell, length) : std::string();
}

}  // namespace

bool virtual_list_notify(ControlRecord& record, LPARAM lparam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    switch (header->code) {
        case LVN_GETDISPINFOA: {
            LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(lparam)->item;
            if (item.mask & LVIF_TEXT) {
                copy_ansi_text(shown_cell(record, item.iItem, item.iSubItem).c_str(),
                               record.encoding, item.pszText, item.cchTextMax);
            }
            return true;
        }
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lparam)->item;
            if (item.mask & LVIF_TEXT) {
                copy_wide_text(shown_cell(record, item.iItem, item.iSubItem).c_str(),
                               record.encoding, item.pszText, item.cchTextMax);
            }
            return true;
        }
        case LVN_ODFINDITEMA: {
            const NMLVFINDITEMA& find = *reinterpret_cast<const NMLVFINDITEMA*>(lparam);
            *result = find_ansi(record, find.iStart, find.lvfi.flags, find.lvfi.psz);
            return true;
        }
        case LVN_ODFINDITEMW: {
            const NMLVFINDITEMW& find = *reinterpret_cast<const NMLVFINDITEMW*>(lparam);
            *result = find_wide(record, find.iStart, find.lvfi.flags, find.lvfi.psz);
            return true;
        }
        case LVN_ODCACHEHINT:
            return true;  // every line is at hand already
        default:
            return false;
    }
}

void set_virtual_source(ControlRecord& record, ListTextSource source, void* context, int count) {
    count = count < 0 ? 0 : count;
    bool same_count = record.source && count == record.virtual_count;
    record.source = source;
    record.source_context = context;
    record.virtual_count = count;
    if (same_count) {
        // The lines may differ, the scroll range does not: a redraw will do,
        // and keeps the scroll bar from being drawn anew.
        InvalidateRect(record.handle, nullptr, FALSE);
        return;
    }
    if (record.virtual_count == 0 && !record.row_measured) {
        // The grid lines of an empty list follow the rows it would have.
        measure_row(record);
    }
    send_to(record.handle, LVM_SETITEMCOUNT, static_cast<WPARAM>(record.virtual_count), 0);
}

void add_virtual_rows(ControlRecord& record, int count) {
    if (!record.source || count <= record.virtual_count) {
        return;
    }
    record.virtual_count = count;
    // Only rows in view are drawn anew; what the user looks at stays put.
    send_to(record.handle, LVM_SETITEMCOUNT, static_cast<WPARAM>(count),
            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

int virtual_fitted_width(ControlRecord& record, const std::string& text) {
    return with_temporary_line(record, text.c_str(), [](HWND list) {
        int before = static_cast<int>(send_to(list, LVM_GETCOLUMNWIDTH, 0, 0));
        send_to(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
        int fitted = static_cast<int>(send_to(list, LVM_GETCOLUMNWIDTH, 0, 0));
        send_to(list, LVM_SETCOLUMNWIDTH, 0, before);
        return fitted;
    });
}
