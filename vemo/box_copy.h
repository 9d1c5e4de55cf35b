// The text Ctrl+C puts on the clipboard for the message box, laid out as the
// system's own message box lays it out, so that a pasted box reads the same
// whichever program showed it:
//
//   ---------------------------
//   Title
//   ---------------------------
//   Text
//   ---------------------------
//   Yes   No   Cancel
//   ---------------------------
//
// Every line ends with CR LF; each caption is followed by three spaces.
#pragma once

#include <string>
#include <vector>

// `text` breaks its lines with CR alone, as the box's label takes it;
// `captions` are as the buttons draw them (no "&" marks).
std::string box_copy_text(const std::string& title, const std::string& text,
                          const std::vector<std::string>& captions);
