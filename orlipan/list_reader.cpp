#include "orlipan/list_reader.h"

#include <utility>

namespace {

bool refill(ListReader* reader) {
    if (reader->ended)
        return false;
    int got = reader->source(reader->buffer.data(), (int)reader->buffer.size());
    if (got <= 0) {
        reader->ended = true;
        reader->position = reader->filled = 0;
        return false;
    }
    // A source must never claim more than it was given room for.
    if (got > (int)reader->buffer.size())
        got = (int)reader->buffer.size();
    reader->position = 0;
    reader->filled = got;
    return true;
}

bool is_terminator(char c) {
    return c == '\n' || c == '\r' || c == '\0';
}

}  // namespace

ListReader make_list_reader(ByteSource source) {
    ListReader reader;
    reader.source = std::move(source);
    reader.buffer.resize(LIST_READ_BUFFER_SIZE);
    return reader;
}

bool list_at_end(ListReader* reader) {
    if (reader->position < reader->filled)
        return false;
    return !refill(reader);
}

namespace {

// Appends the rest of the current line to `line` and steps over its end.
void append_line(ListReader* reader, std::string* line) {
    while (!list_at_end(reader)) {
        const char* bytes = reader->buffer.data();
        int start = reader->position;
        int stop = start;
        while (stop < reader->filled && !is_terminator(bytes[stop]))
            ++stop;
        line->append(bytes + start, bytes + stop);
        reader->position = stop;
        if (stop == reader->filled)
            continue;  // the line goes on in the next block
        char terminator = bytes[stop];
        reader->position += 1;
        // A line feed right after a carriage return, even across a block
        // boundary, belongs to the same line end.
        if (terminator == '\r' && !list_at_end(reader) &&
            reader->buffer[reader->position] == '\n') {
            reader->position += 1;
        }
        return;
    }
}

}  // namespace

std::string read_list_line(ListReader* reader) {
    std::string line;
    append_line(reader, &line);
    return line;
}

void read_list_line_into(ListReader* reader, std::string* line) {
    line->clear();
    if (line->capacity() < LIST_READ_BUFFER_SIZE)
        line->reserve(LIST_READ_BUFFER_SIZE);
    append_line(reader, line);
}

std::string file_name_part(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    size_t start = slash == std::string::npos ? 0 : slash + 1;
    size_t quote = path.find('"', start);
    size_t length = quote == std::string::npos ? std::string::npos : quote - start;
    return path.substr(start, length);
}
