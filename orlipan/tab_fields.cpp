#include "orlipan/tab_fields.h"

#include <cstring>

FieldSpan tab_field(const char* line, int index, bool rest) {
    const char* start = line;
    for (int i = 0; i < index; ++i) {
        const char* tab = std::strchr(start, '\t');
        if (!tab) {
            FieldSpan none;
            none.start = start + std::strlen(start);
            return none;
        }
        start = tab + 1;
    }
    FieldSpan field;
    field.start = start;
    const char* end = rest ? nullptr : std::strchr(start, '\t');
    field.length = end ? static_cast<size_t>(end - start) : std::strlen(start);
    return field;
}

int tab_field_count(const char* line) {
    int count = 1;
    for (const char* p = line; *p; ++p)
        count += *p == '\t';
    return count;
}

std::vector<std::string> tab_field_texts(const std::string& line, int count) {
    std::vector<std::string> fields(static_cast<size_t>(count < 0 ? 0 : count));
    size_t start = 0;
    for (std::string& field : fields) {
        if (start > line.size())
            break;
        size_t tab = line.find('\t', start);
        size_t end = tab == std::string::npos ? line.size() : tab;
        field = line.substr(start, end - start);
        start = end + 1;
    }
    return fields;
}
