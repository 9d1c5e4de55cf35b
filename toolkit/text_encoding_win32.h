// The text boundary's side for the rest of the toolkit. Private to the toolkit.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/toolkit.h"

// What set_text_encoding chose last.
int current_text_encoding();
std::string from_wide_text(const wchar_t* text, size_t length, int encoding);
// `text` (null is "") into a buffer of `capacity` units, cut to fit and
// zero-terminated; nothing when there is no buffer or no room.
void copy_wide_text(const char* text, int encoding, wchar_t* buffer, int capacity);
// The same into the ANSI code page.
void copy_ansi_text(const char* text, int encoding, char* buffer, int capacity);
