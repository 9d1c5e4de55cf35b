// The buttons' underlined letters. Private to the toolkit.
#pragma once

#include <windows.h>

// A step of a wait before the message is dispatched: true when the message
// typed a button's key letter and was answered (the button pressed or, for a
// letter that several buttons share, the focus moved on).
bool answer_key_letter(const MSG& message);
