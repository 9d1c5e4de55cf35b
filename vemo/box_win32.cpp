#include "vemo/box_win32.h"

#include <windows.h>

#include <string>
#include <vector>

#include "frame/command_line.h"
#include "frame/frame.h"
#include "frame/text.h"
#include "toolkit/toolkit.h"

namespace {

BoxSettings box_settings;
BoxLayout box_layout;
HFONT box_font = nullptr;

// Fixed size, close box, no minimise or maximise box; shown only when complete.
constexpr DWORD BOX_WINDOW_STYLE = WINDOW_HIDDEN | WS_CAPTION | WS_SYSMENU;

// A minimised or hidden console gives no useful place to centre on.
DWORD box_centring() {
    if (IsIconic(console_window) || !IsWindowVisible(console_window)) {
        return WINDOW_CENTER_SCREEN;
    }
    return WINDOW_CENTER_OWNER;
}

std::vector<TextExtent> measure_lines(HWND label, HFONT font, const std::string& text) {
    std::vector<TextExtent> extents;
    HDC context = GetDC(label);
    HGDIOBJ previous = SelectObject(context, font);
    for (const std::string& line : split_fields(text, '\r')) {
        SIZE size = {0, 0};
        std::wstring wide = to_wide_text(line, TEXT_UTF8);
        GetTextExtentPoint32W(context, wide.c_str(), static_cast<int>(wide.size()), &size);
        extents.push_back({size.cx, size.cy});
    }
    SelectObject(context, previous);
    ReleaseDC(label, context);
    return extents;
}

}  // namespace

bool open_box(BoxSettings& s, BoxLayout& l) {
    l = plan_box_layout(s);
    box_font = load_font(BOX_FONT_SLOT, s.font_name, s.font_size);
    HWND window = open_window(BOX_WINDOW, 0, 0, s.window_width, l.window_height, s.title,
                              box_centring() | BOX_WINDOW_STYLE, console_window);
    if (window == nullptr) {
        return false;
    }
    set_control_font(-1, box_font);
    HWND label = create_label(BOX_LABEL, l.margin, l.margin, l.label_width, l.label_height, s.text,
                              s.center_text);
    // The label wraps by itself; measuring only estimates the height it needs.
    fit_box_text(l, s, measure_lines(label, box_font, s.text));
    resize_control(BOX_LABEL, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, l.text_height);
    int x = moved_window_x(window_x(BOX_WINDOW), s.offset_x);
    int y = moved_window_y(window_y(BOX_WINDOW), l.growth, s.offset_y);
    resize_window(BOX_WINDOW, x, y, KEEP_VALUE, l.window_height);
    return true;
}

void vemo_body() {
    set_keyboard_cues(1);
    // Every text of the box comes from the command line, as UTF-8.
    set_text_encoding(TEXT_UTF8);
    box_settings = read_box_settings(read_all_arguments());
    if (!open_box(box_settings, box_layout)) {
        ToolExit = 0;
        return;
    }
    box_settings.exit_code = run_box(box_settings, box_layout);
    if (box_settings.error_count != 0) {
        box_settings.exit_code = BOX_ERROR_EXIT_CODE;
    }
    // More than 255 buttons: the number goes to the process exit unchanged.
    ToolExit = static_cast<UINT>(box_settings.exit_code);
}
