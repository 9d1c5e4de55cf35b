// Lists whose lines stay with the tool (owner data): the control keeps only
// the count and the selection and asks for the text of each line it draws,
// reads back or searches. Nothing is stored per line, so filling and
// destroying a list of a million lines costs no more than one of three.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "frame/utf8.h"
#include "toolkit/controls_win32.h"
#include "toolkit/list_search.h"
#include "toolkit/toolkit.h"

namespace {

ControlRecord* virtual_list(int id) {
    ControlRecord* record = find_control(id);
    if (!record || record->kind != CONTROL_KIND_LIST || !is_virtual_list(*record)) {
        return nullptr;
    }
    return record;
}

// Keeps the selection, focus and scroll place the control has.
void set_count(ControlRecord& record, int count) {
    send_to(record.handle, LVM_SETITEMCOUNT, static_cast<WPARAM>(count),
            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

// Runs `measure` while the list holds `text` as its only line.
template <typename Measure>
int with_only_line(ControlRecord& record, const char* text, Measure measure) {
    int count = record.virtual_count;
    record.measured_text = text;
    set_count(record, 1);
    int answer = measure(record.handle);
    set_count(record, count);
    record.measured_text = nullptr;
    return answer;
}

// Runs `measure` on a device context of the list with the list's font in it.
template <typename Measure>
bool in_list_font(const ControlRecord& record, Measure measure) {
    HDC dc = GetDC(record.handle);
    if (!dc) {
        return false;
    }
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(send_to(record.handle, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    bool ok = measure(dc);
    if (old) {
        SelectObject(dc, old);
    }
    ReleaseDC(record.handle, dc);
    return ok;
}

// The case folding of the ANSI code page, which the control's own search of
// lines it stores also uses.
const unsigned char* ansi_fold() {
    static unsigned char table[256];
    static bool made = false;
    if (!made) {
        for (int i = 0; i < 256; ++i)
            table[i] = static_cast<unsigned char>(i);
        CharLowerBuffA(reinterpret_cast<char*>(table + 1), 255);
        made = true;
    }
    return table;
}

std::string narrow(const wchar_t* text) {
    if (!text) {
        return "";
    }
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

void copy_line(const ControlRecord& record, const char* text, char* buffer, int capacity) {
    if (!buffer || capacity <= 0) {
        return;
    }
    if (record.encoding == TEXT_UTF8) {
        std::string ansi = from_wide_text(to_wide_text(text, TEXT_UTF8), TEXT_ANSI);
        lstrcpynA(buffer, ansi.c_str(), capacity);
        return;
    }
    lstrcpynA(buffer, text, capacity);
}

void copy_line(const ControlRecord& record, const char* text, wchar_t* buffer, int capacity) {
    if (!buffer || capacity <= 0) {
        return;
    }
    if (record.encoding == TEXT_UTF8) {
        // Only as much as the control's buffer holds is decoded: it asks for
        // the lines it draws, and a line of a megabyte shows a few hundred.
        utf16_from_utf8_into(text, reinterpret_cast<char16_t*>(buffer), capacity);
        return;
    }
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], size);
    lstrcpynW(buffer, wide.c_str(), capacity);
}

template <typename Info>
void give_text(const ControlRecord& record, Info& info) {
    if (info.item.mask & LVIF_TEXT) {
        copy_line(record, virtual_line(record, info.item.iItem), info.item.pszText,
                  info.item.cchTextMax);
    }
}

LRESULT find_line(const ControlRecord& record, int start, UINT flags, const std::string& wanted) {
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL))) {
        return -1;  // searches by item data or position have nothing to find here
    }
    ListSearch search;
    search.wanted = wanted;
    search.start = start;
    search.partial = (flags & LVFI_PARTIAL) != 0;
    search.wrap = (flags & LVFI_WRAP) != 0;
    return find_list_line(
        search, record.virtual_count, [&](int i) { return virtual_line(record, i); }, ansi_fold());
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
    return find_line(record, start, flags, narrow(wanted));
}

LRESULT find_ansi(const ControlRecord& record, int start, UINT flags, const char* wanted) {
    if (record.encoding == TEXT_UTF8) {
        return find_utf8_line(record, start, flags, to_wide_text(wanted ? wanted : "", TEXT_ANSI));
    }
    return find_line(record, start, flags, wanted ? wanted : "");
}

}  // namespace

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

bool virtual_list_notify(ControlRecord& record, int id, LPARAM lparam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    switch (header->code) {
        case LVN_GETDISPINFOA:
            give_text(record, *reinterpret_cast<NMLVDISPINFOA*>(lparam));
            return true;
        case LVN_GETDISPINFOW:
            give_text(record, *reinterpret_cast<NMLVDISPINFOW*>(lparam));
            return true;
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
        case LVN_ODSTATECHANGED:
            note_selection_change(record, id);
            return true;
        case LVN_ODCACHEHINT:
            return true;  // every line is at hand already
        default:
            return false;
    }
}

void list_set_source(int id, ListTextSource source, void* context, int count) {
    ControlRecord* record = virtual_list(id);
    if (!record) {
        return;
    }
    count = count < 0 ? 0 : count;
    bool same_count = record->source && count == record->virtual_count;
    record->source = source;
    record->source_context = context;
    record->virtual_count = count;
    if (same_count) {
        // The lines may differ, the scroll range does not: a redraw will do,
        // and keeps the scroll bar from being drawn anew.
        InvalidateRect(record->handle, nullptr, FALSE);
        return;
    }
    if (record->virtual_count == 0 && !record->row_measured) {
        // The grid lines of an empty list follow the rows it would have.
        RECT row{};
        row.left = LVIR_BOUNDS;
        if (with_only_line(*record, "", [&](HWND list) {
                return static_cast<int>(
                    send_to(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
            })) {
            record->row_measured = true;
            record->row_top = row.top;
            record->row_bottom = row.bottom;
        }
    }
    send_to(record->handle, LVM_SETITEMCOUNT, static_cast<WPARAM>(record->virtual_count), 0);
}

int list_fitted_width(int id, const std::string& text) {
    ControlRecord* record = virtual_list(id);
    if (!record) {
        return 0;
    }
    return with_only_line(*record, text.c_str(), [](HWND list) {
        int before = static_cast<int>(send_to(list, LVM_GETCOLUMNWIDTH, 0, 0));
        send_to(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
        int fitted = static_cast<int>(send_to(list, LVM_GETCOLUMNWIDTH, 0, 0));
        send_to(list, LVM_SETCOLUMNWIDTH, 0, before);
        return fitted;
    });
}

bool list_char_widths(int id, int widths[256]) {
    ControlRecord* record = find_control(id);
    if (!record || record->kind != CONTROL_KIND_LIST) {
        return false;
    }
    return in_list_font(*record, [&](HDC dc) { return GetCharWidth32A(dc, 0, 255, widths) != 0; });
}

int list_text_width(int id, const std::string& text) {
    ControlRecord* record = find_control(id);
    if (!record || record->kind != CONTROL_KIND_LIST) {
        return 0;
    }
    std::wstring wide = to_wide_text(text, record->encoding);
    return static_cast<int>(
        send_to(record->handle, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

bool list_code_point_widths(int id, unsigned first, int widths[256]) {
    ControlRecord* record = find_control(id);
    if (!record || record->kind != CONTROL_KIND_LIST) {
        return false;
    }
    return in_list_font(
        *record, [&](HDC dc) { return GetCharWidth32W(dc, first, first + 255, widths) != 0; });
}
