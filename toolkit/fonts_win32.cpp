// Fonts by slot number, the default font of newly created controls, and
// measuring in the font a control draws with.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "toolkit/fonts_win32.h"
#include "toolkit/toolkit.h"

namespace {

std::map<int, HFONT> loaded_fonts;
// Fonts pushed out of their slot by a later load. A control may still draw with
// one, so they live on until the fonts are released together.
std::vector<HFONT> retired_fonts;
HFONT default_font = nullptr;

HFONT stock_gui_font() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Character height in pixels for a size in points at `dpi`, or on the display
// for dpi 0: negative, so that the font mapper matches the character height
// rather than the cell.
bool display_font_height(int points, int dpi, int* height) {
    if (dpi > 0) {
        *height = -MulDiv(points, dpi, 72);
        return true;
    }
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!display) {
        return false;
    }
    *height = -MulDiv(points, GetDeviceCaps(display, LOGPIXELSY), 72);
    DeleteDC(display);
    return true;
}

}  // namespace

HFONT default_control_font() {
    return default_font ? default_font : stock_gui_font();
}

void prepare_fonts() {
    release_fonts();
    default_font = stock_gui_font();
}

void release_fonts() {
    for (auto& slot : loaded_fonts) {
        DeleteObject(slot.second);
    }
    for (HFONT font : retired_fonts) {
        DeleteObject(font);
    }
    loaded_fonts.clear();
    retired_fonts.clear();
    default_font = stock_gui_font();
}

HFONT load_font(int slot, const std::string& face, int points, int dpi) {
    int height = 0;
    if (!display_font_height(points, dpi, &height)) {
        return nullptr;
    }
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                             DEFAULT_QUALITY, 0, face.c_str());
    if (!font) {
        return nullptr;
    }
    auto old = loaded_fonts.find(slot);
    if (old != loaded_fonts.end()) {
        retired_fonts.push_back(old->second);
    }
    loaded_fonts[slot] = font;
    return font;
}

void set_default_control_font(HFONT font) {
    default_font = font ? font : stock_gui_font();
}

bool in_control_font(HWND control, const std::function<bool(HDC)>& measure) {
    HDC dc = GetDC(control);
    if (!dc) {
        return false;
    }
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    bool ok = measure(dc);
    if (old) {
        SelectObject(dc, old);
    }
    ReleaseDC(control, dc);
    return ok;
}
