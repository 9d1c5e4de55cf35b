#include "frame/text.h"

namespace {

struct FoldTable {
    unsigned char map[256];
};

FoldTable identity_table() {
    FoldTable table;
    for (int i = 0; i < 256; ++i) {
        table.map[i] = static_cast<unsigned char>(i);
    }
    return table;
}

FoldTable make_ascii_table() {
    FoldTable table = identity_table();
    for (int c = 'A'; c <= 'Z'; ++c) {
        table.map[c] = static_cast<unsigned char>(c - 'A' + 'a');
    }
    return table;
}

// Byte 0 stays out: the locale's lowering reads a zero-terminated text.
FoldTable make_ansi_table() {
    FoldTable table = identity_table();
    std::string lowered =
        lower_text(std::string(reinterpret_cast<const char*>(table.map + 1), 255));
    for (size_t i = 0; i < 255 && i < lowered.size(); ++i) {
        table.map[i + 1] = static_cast<unsigned char>(lowered[i]);
    }
    return table;
}

bool matches_at(const std::string& text, size_t at, const std::string& search, bool ignore_case) {
    if (text.size() - at < search.size()) {
        return false;
    }
    // Only A-Z fold: the tools never set a locale, so accented letters stay distinct.
    const unsigned char* fold = ascii_fold_table();
    for (size_t i = 0; i < search.size(); ++i) {
        auto a = static_cast<unsigned char>(text[at + i]);
        auto b = static_cast<unsigned char>(search[i]);
        if (ignore_case ? fold[a] != fold[b] : a != b) {
            return false;
        }
    }
    return true;
}

int digit_value(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    }
    return value < base ? value : -1;
}

std::string replaced_copy(const std::string& text, const std::string& search,
                          const std::string& replacement, bool ignore_case) {
    if (search.empty()) {
        return text;
    }
    std::string result;
    result.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        if (matches_at(text, at, search, ignore_case)) {
            result += replacement;
            at += search.size();
        } else {
            result += text[at];
            ++at;
        }
    }
    return result;
}

}  // namespace

int text_length(const std::string& text) {
    return static_cast<int>(text.size());
}

std::string space_text(int count) {
    return count > 0 ? std::string(count, ' ') : std::string();
}

int first_char_code(const std::string& text) {
    return text.empty() ? 0 : static_cast<unsigned char>(text[0]);
}

std::string left_text(const std::string& text, int count) {
    if (count <= 0) {
        return std::string();
    }
    return text.substr(0, static_cast<size_t>(count));
}

std::string mid_text(const std::string& text, int start, int length) {
    if (start < 1) {
        start = 1;
    }
    if (length < 0) {
        length = 0;
    }
    size_t skip = static_cast<size_t>(start) - 1;
    if (skip >= text.size()) {
        return std::string();
    }
    return text.substr(skip, static_cast<size_t>(length));
}

std::string mid_text(const std::string& text, int start) {
    // Computed in 64 bits so that a start far below 1 cannot overflow the length.
    int64_t length = static_cast<int64_t>(text.size()) - start + 1;
    if (length <= 0) {
        return std::string();
    }
    if (start < 1) {
        return text;
    }
    return mid_text(text, start, static_cast<int>(length));
}

std::string trim_text(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::string();
    }
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool texts_equal(const std::string& a, const std::string& b) {
    return a == b;
}

int64_t parse_value(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    int base = 10;
    if (at < text.size() && text[at] == '$') {
        base = 16;
        ++at;
    } else if (at < text.size() && text[at] == '%') {
        base = 2;
        ++at;
    }
    // Unsigned arithmetic: overflow wraps silently instead of being undefined.
    uint64_t value = 0;
    for (; at < text.size(); ++at) {
        int digit = digit_value(text[at], base);
        if (digit < 0) {
            break;
        }
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    if (negative) {
        value = 0 - value;
    }
    return static_cast<int64_t>(value);
}

int32_t parse_value32(const std::string& text) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(parse_value(text))));
}

std::string replace_text(std::string& text, const std::string& search,
                         const std::string& replacement, int mode) {
    std::string result =
        replaced_copy(text, search, replacement, (mode & REPLACE_IGNORE_CASE) != 0);
    if (mode & REPLACE_IN_PLACE) {
        // Writing over the text as it is scanned gives the same bytes as this copy,
        // because a match never looks back at bytes already replaced. Assigning the
        // copy also keeps a replacement of another length from running past the
        // end of the text.
        text = result;
    }
    return result;
}

std::string replace_text(const std::string& text, const std::string& search,
                         const std::string& replacement, int mode) {
    return replaced_copy(text, search, replacement, (mode & REPLACE_IGNORE_CASE) != 0);
}

int count_substring(const std::string& text, const std::string& pattern) {
    if (text.empty() || pattern.empty()) {
        return 0;
    }
    int count = 0;
    size_t at = text.find(pattern);
    while (at != std::string::npos) {
        ++count;
        at = text.find(pattern, at + pattern.size());
    }
    return count;
}

int find_text(const std::string& text, const std::string& pattern, int start) {
    if (text.empty() || pattern.empty()) {
        return 0;
    }
    if (start < 1) {
        start = 1;
    }
    if (static_cast<size_t>(start) > text.size()) {
        return 0;
    }
    size_t at = text.find(pattern, static_cast<size_t>(start) - 1);
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

std::string number_to_text(int64_t n) {
    // Magnitude in unsigned arithmetic so that INT64_MIN has one too.
    uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return n < 0 ? "-" + digits : digits;
}

uint32_t red_of(uint32_t v) {
    return v & 255;
}
uint32_t green_of(uint32_t v) {
    return (v >> 8) & 255;
}
uint32_t blue_of(uint32_t v) {
    return (v >> 16) & 255;
}
uint32_t make_rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r + g * 256 + b * 65536;
}

uint32_t swap_color_bytes(uint32_t v) {
    return make_rgb(blue_of(v), green_of(v), red_of(v));
}

const unsigned char* ascii_fold_table() {
    static const FoldTable table = make_ascii_table();
    return table.map;
}

const unsigned char* ansi_fold_table() {
    static const FoldTable table = make_ansi_table();
    return table.map;
}
