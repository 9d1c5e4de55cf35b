// Push buttons. A click needs nothing of the button's own: the window
// procedure turns its notification code into the immediate event.
#include <windows.h>

#include <string>

#include "toolkit/controls_win32.h"

static_assert(DETAIL_CLICK == BN_CLICKED,
              "a button's click detail is its notification code, passed on unchanged");

namespace {

// Erased and drawn anew whole, frame included, at its new size.
void button_moved(ControlRecord& record) {
    RedrawWindow(record.handle, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_INTERNALPAINT);
}

const ControlKind BUTTON_KIND = {
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, button_moved, nullptr,
};

}  // namespace

HWND create_button(int id, int x, int y, int width, int height, const std::string& text,
                   int flags) {
    DWORD style = static_cast<DWORD>(flags) | WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
    return create_control(id, BUTTON_KIND, L"Button", style, 0, x, y, width, height, text);
}
