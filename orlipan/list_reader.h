// Splits the bytes of a list file into lines. No code page or byte-order mark
// is interpreted; CR LF, LF, CR and a zero byte each end a line.
//
// The tool itself reads through the line store (line_store.h); this reader,
// one line at a time, is the plain statement of the line rules that the
// store's tests and fuzzing hold it to. ByteSource is shared by both.
#pragma once

#include <functional>
#include <string>
#include <vector>

constexpr int LIST_READ_BUFFER_SIZE = 4096;

// Fills `buffer` with up to `capacity` bytes and returns how many it put
// there; 0 (or less) means the end of the file, which a read error also is.
using ByteSource = std::function<int(char* buffer, int capacity)>;

struct ListReader {
    ByteSource source;
    std::vector<char> buffer;
    int position = 0;
    int filled = 0;
    bool ended = false;
};

ListReader make_list_reader(ByteSource source);
// True exactly when no byte is left.
bool list_at_end(ListReader* reader);
// The next line without its terminator.
std::string read_list_line(ListReader* reader);
// The same into `line`, whose storage is kept from one line to the next: a
// list of a million lines then costs no allocation per line.
void read_list_line_into(ListReader* reader, std::string* line);

// The file-name part of a path, for reports: the text after its last "\" or
// "/", up to a double quote if one follows.
std::string file_name_part(const std::string& path);
