// Static labels and their colours. Labels of one background colour share one
// brush, counted; the last user lets it go.
#include <windows.h>

#include <map>
#include <string>

#include "toolkit/controls_win32.h"
#include "toolkit/labels_win32.h"

namespace {

struct SharedBrush {
    HBRUSH brush;
    int users;
};

std::map<COLORREF, SharedBrush> label_brushes;

HBRUSH acquire_label_brush(COLORREF color) {
    auto found = label_brushes.find(color);
    if (found != label_brushes.end()) {
        ++found->second.users;
        return found->second.brush;
    }
    HBRUSH brush = CreateSolidBrush(color);
    if (brush) {
        label_brushes[color] = SharedBrush{brush, 1};
    }
    return brush;
}

void release_label_brush(ControlRecord& record) {
    if (!record.back_brush) {
        return;
    }
    auto found = label_brushes.find(record.back_color);
    if (found != label_brushes.end() && found->second.brush == record.back_brush &&
        --found->second.users == 0) {
        DeleteObject(found->second.brush);
        label_brushes.erase(found);
    }
    record.back_brush = nullptr;
}

void set_label_color(ControlRecord& record, int slot, COLORREF color) {
    if (slot == COLOR_SLOT_TEXT) {
        record.text_color = color;
    } else if (slot == COLOR_SLOT_BACK) {
        release_label_brush(record);
        record.back_color = color;
        if (color != COLOR_NONE) {
            record.back_brush = acquire_label_brush(color);
        }
    }
}

// Without colours of its own the label is left to the system's colours.
bool label_color_static(ControlRecord& record, HDC dc, LRESULT* result) {
    if (record.text_color == COLOR_NONE && record.back_color == COLOR_NONE) {
        return false;
    }
    if (record.text_color != COLOR_NONE) {
        SetTextColor(dc, record.text_color);
        if (record.back_color == COLOR_NONE) {
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            *result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
    }
    if (record.back_color != COLOR_NONE) {
        SetBkColor(dc, record.back_color);
        *result = reinterpret_cast<LRESULT>(record.back_brush);
    }
    return true;
}

// Repainted at its new size without erasing first.
void label_moved(ControlRecord& record) {
    InvalidateRect(record.handle, nullptr, FALSE);
}

const ControlKind LABEL_KIND = {
    nullptr,         nullptr, nullptr,     label_color_static,
    set_label_color, nullptr, label_moved, release_label_brush,
};

}  // namespace

HWND create_label(int id, int x, int y, int width, int height, const std::string& text, int flags) {
    DWORD style = static_cast<DWORD>(flags) | WS_CHILD | WS_VISIBLE | WS_GROUP;
    return create_control(id, LABEL_KIND, L"Static", style, 0, x, y, width, height, text);
}

void release_label_brushes() {
    for (auto& shared : label_brushes) {
        DeleteObject(shared.second.brush);
    }
    label_brushes.clear();
}
