#include "orlipan/pick_help.h"

#include "resources/version.h"

const char PICK_USAGE_TEXT[] =
    "Shows the lines of ListFile and writes OutputString with $item replaced by the picked "
    "line.\r\rSyntax: ORLIPAN ListFile Title [OutputString] [Options] [> OutputFile]";

namespace {

// A message box breaks lines at each carriage return, as in the usage text.
// Option and meaning are set apart by two blanks rather than a tab: the tab
// stops of a proportional font cannot keep the meanings in one column.
const char PICK_HELP_BODY[] =
    "-  as ListFile: read the list from standard input\r\r"
    "Options:\r"
    "/quote  put the picked line in double quotes\r"
    "/oemlist  read the list file in the console's OEM code page\r"
    "/oemout  write the output in the console's OEM code page\r"
    "/cmdcenter  centre the window on the console window\r"
    "/menu  menu mode: one click picks, blank lines are separators\r"
    "/ontop  keep the window above all other windows\r"
    "/utf8  read the list and write the output as UTF-8\r"
    "/filter  a box above the list: typing narrows the list\r"
    "/multi  several lines can be chosen at once\r"
    "/tab  tabs split each line into columns; a click on a column's header sorts by it; "
    "$1 .. $9 are the fields\r"
    "/header=N  the first N lines (1 to 9) stay above the list as its header\r"
    "/sel=N|TEXT  start on line N or on the line TEXT (with /multi: N,N,...)\r"
    "/query=TEXT  start with TEXT in the filter box (with /filter)\r"
    "/auto  answer at once when the start shows one line, end when none\r"
    "/fixedfont  show the list in Lucida Console\r"
    "/fs=n  font size in points (default 9)\r"
    "/bg=#RRGGBB  background colour (default white)\r"
    "/fc=#RRGGBB  text colour (default black)\r"
    "/dx=n  move the window n pixels right of the centre\r"
    "/dy=n  move the window n pixels down from the centre\r"
    "/?  show this help\r\r"
    "Exit codes:\r"
    "1 to 255  number of the accepted line (255 also for every later line)\r"
    "1 to 255  with /multi: the number of chosen lines\r"
    "0  cancelled, or a message such as this one was shown\r"
    "255  also: no console window, or a failed run (not enough memory, an internal\r"
    "     error); a failed run writes nothing\r\r" ORLIPAN_VERSION_TEXT;

}  // namespace

std::string pick_help_text() {
    return std::string(PICK_USAGE_TEXT) + "\r\r" + PICK_HELP_BODY;
}
