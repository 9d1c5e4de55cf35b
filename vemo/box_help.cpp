#include "vemo/box_help.h"

#include "resources/version.h"
#include "vemo/box_options.h"

namespace {

// Carriage returns only: they are the line breaks the layout counts. The
// label shows "&" as a shortcut mark, so the text has none.
const char BOX_HELP_BODY[] =
    "Options:\r"
    "/DB=n  number of the default button (default 1)\r"
    "/BW=n  width of every button in pixels\r"
    "/WW=n  inner width of the window in pixels\r"
    "/FS=n  font size in points (default 9)\r"
    "/FF  fixed-width font (Lucida Console)\r"
    "/TL=n  room for at least n lines of text\r"
    "/BG=#RRGGBB  background colour\r"
    "/TM=n  countdown of n seconds to the default button; $ in a caption shows it\r"
    "/CR=s  s starts a new line in the text (default ^)\r"
    "/AL  text aligned left instead of centred\r"
    "/OT  keep the window above all other windows\r"
    "/DX=n  move the window n pixels right\r"
    "/DY=n  move the window n pixels down\r"
    "/IN  ask for a line of text; /IN=text starts with that text\r"
    "/PW  ask for a password: the characters are hidden\r"
    "/OEM  write the answer in the console's OEM code page (default: ANSI)\r"
    "/UTF8  write the answer in UTF-8\r"
    "/IC=i  information icon and sound; /IC=w warning, /IC=e error, /IC=q question\r"
    "/?  show this help\r"
    "Two apostrophes '' in the text show a double quote.\r"
    "With /IN or /PW the text typed is written to standard output, with no line\r"
    "ending, when a button, Enter or the countdown ends the box.\r\r"
    "Exit codes:\r"
    "n  button n, or the default button when the countdown ends\r"
    "0  Escape or the close box\r"
    "255  a wrong command line, the usage, this help, no console window, or a failed run\r"
    "     (not enough memory, an internal error): no text is written\r\r" VEMO_VERSION_TEXT;

}  // namespace

std::string box_help_text() {
    return std::string(BOX_USAGE_TEXT) + "\r\r" + BOX_HELP_BODY;
}
