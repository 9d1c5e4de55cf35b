#include "orlipan/list_load_win32.h"

#include <windows.h>

#include <string>

#include "orlipan/list_file_win32.h"
#include "orlipan/pick_modes.h"
#include "orlipan/utf8_list.h"

namespace {

bool open_list(PickSettings& settings) {
    if (settings.list_file == LIST_FROM_STANDARD_INPUT) {
        if (open_standard_input(LIST_FILE_SLOT))
            return true;
        settings.message = "Cannot open standard input";
        return false;
    }
    if (open_list_file(LIST_FILE_SLOT, settings.list_file))
        return true;
    settings.message = "Cannot open " + file_name_part(settings.list_file);
    return false;
}

}  // namespace

bool load_list_file(PickSettings& settings, LineStore* lines) {
    if (!open_list(settings))
        return false;
    ByteSource source = [](char* buffer, int capacity) {
        return read_list_file(LIST_FILE_SLOT, buffer, capacity);
    };
    bool utf8 = utf8_mode(settings);
    LinesResult result = read_all_lines(lines, utf8 ? without_utf8_bom(source) : source);
    close_list_file(LIST_FILE_SLOT);
    if (result != LINES_OK) {
        // The report box needs memory of its own.
        free_lines(lines);
        settings.message = "List too large";
        return false;
    }
    if (oem_list(settings)) {
        for (int i = 0; i < line_count(*lines); ++i)
            OemToCharA(line_at(*lines, i), line_at(*lines, i));
    }
    return true;
}
