// The list tool's command line: ListFile, Title, OutputString and the options,
// read into one PickSettings record that the rest of the run only reads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "orlipan/start_selection.h"

// Word options, one bit each.
constexpr uint32_t PICK_FLAG_QUOTE = 1;
constexpr uint32_t PICK_FLAG_OEMLIST = 2;
constexpr uint32_t PICK_FLAG_OEMOUT = 4;
constexpr uint32_t PICK_FLAG_CMDCENTER = 8;
constexpr uint32_t PICK_FLAG_MENU = 16;
constexpr uint32_t PICK_FLAG_ONTOP = 64;
constexpr uint32_t PICK_FLAG_FILTER = 128;
constexpr uint32_t PICK_FLAG_MULTI = 256;
// The list is UTF-8 and the output too; the OEM conversions cannot go with it.
constexpr uint32_t PICK_FLAG_UTF8 = 1024;
// Answer at once when the start shows one line, cancel when it shows none.
constexpr uint32_t PICK_FLAG_AUTO = 2048;
// Tabs separate the fields of each line, shown in columns; $1 .. $9 in the
// template stand for the fields of the answer.
constexpr uint32_t PICK_FLAG_TAB = 4096;

// /header=N: the first N lines stay above the list as its header.
constexpr int32_t PICK_HEADER_LIMIT = 9;

constexpr int32_t PICK_DEFAULT_FONT_SIZE = 9;
constexpr uint32_t PICK_DEFAULT_BACK_COLOR = 0xFFFFFF;

extern const char PICK_INVALID_OPTION[];
extern const char PICK_UTF8_OPTION[];
extern const char PICK_INVALID_ARGUMENT[];

struct PickSettings {
    std::string list_file;
    std::string title;
    std::string output_string;
    int32_t positional_count = 0;
    uint32_t flags = 0;
    std::string font_face;
    int32_t font_size = 0;
    uint32_t back_color = 0;
    uint32_t text_color = 0;
    int32_t offset_x = 0;
    int32_t offset_y = 0;
    // /sel= and /query=, as typed (UTF-8 like the rest of the command line).
    std::string selection_value;
    StartSelection start;
    std::string query;
    // /header=N, 0 without it.
    int32_t header_lines = 0;
    // Pending report; when set, the run ends with it in a message box.
    std::string message;
};

// Turns a list-file path into its absolute form with environment variables
// expanded, or returns it unchanged when that is not possible.
using PathExpander = std::function<std::string(const std::string&)>;

// `arguments` are the command-line arguments after the program name, in order.
PickSettings parse_pick_arguments(const std::vector<std::string>& arguments,
                                  const PathExpander& expand_path);

// Every option the parser takes, as its word or its key ("fs=", "sel="),
// in lower case; the help names each of them.
std::vector<std::string> pick_option_words();

// The file-name part of a path, for reports: the text after its last "\" or
// "/", up to a double quote if one follows.
std::string file_name_part(const std::string& path);
