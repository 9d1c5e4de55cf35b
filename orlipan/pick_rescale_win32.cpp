#include "orlipan/pick_output.h"
#include "orlipan/pick_window_win32.h"
#include "toolkit/toolkit.h"

void rescale_pick_window(int dpi) {
    pick_state.dpi = dpi;
    HFONT font = load_font(PICK_FONT_SLOT, pick_settings.font_face, pick_settings.font_size, dpi);
    set_control_font(PICK_LIST_ID, font);
    if (pick_settings.flags & PICK_FLAG_MENU)
        pick_state.margin = scale_to_dpi(PICK_MENU_MARGIN, dpi);
    layout_pick_list();
}
