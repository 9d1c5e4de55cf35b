// The edit box's side for the keyboard layer. Private to the toolkit.
#pragma once

// True while an edit box of the toolkit has the keyboard focus.
bool edit_box_has_focus();
