#include "frame/utf8.h"

namespace {

// The longest UTF-8 sequence.
constexpr size_t UTF8_MAX_BYTES = 4;

void append_utf16(char32_t code_point, std::u16string* out) {
    if (code_point < 0x10000) {
        out->push_back(static_cast<char16_t>(code_point));
        return;
    }
    code_point -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (code_point >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (code_point & 0x3FF)));
}

void append_utf8(char32_t code_point, std::string* out) {
    if (code_point < 0x80) {
        out->push_back(static_cast<char>(code_point));
    } else if (code_point < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (code_point >> 6)));
        out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else if (code_point < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (code_point >> 12)));
        out->push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (code_point >> 18)));
        out->push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    }
}

bool is_high_surrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool is_low_surrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

size_t decode_utf8(const char* at, const char* end, char32_t* code_point) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(at);
    const size_t available = static_cast<size_t>(end - at);
    const unsigned char lead = p[0];
    // The second byte's range excludes overlong forms, surrogates and code
    // points past U+10FFFF; every later byte is a plain continuation byte.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    size_t length = 0;
    char32_t value = 0;
    *code_point = UTF8_REPLACEMENT;
    if (lead < 0x80) {
        *code_point = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 1;
    }
    for (size_t used = 1; used < length; ++used) {
        if (used >= available || p[used] < low || p[used] > high)
            return used;  // the piece so far stands for one replacement
        value = (value << 6) | (p[used] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    *code_point = value;
    return length;
}

size_t decode_utf8_terminated(const char* at, char32_t* code_point) {
    return decode_utf8(at, at + UTF8_MAX_BYTES, code_point);
}

std::u16string utf16_from_utf8(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    const char* at = text.data();
    const char* end = at + text.size();
    while (at < end) {
        char32_t code_point = 0;
        at += decode_utf8(at, end, &code_point);
        append_utf16(code_point, &out);
    }
    return out;
}

int utf16_from_utf8_into(const char* text, char16_t* out, int capacity) {
    if (capacity <= 0)
        return 0;
    int written = 0;
    std::u16string unit;
    while (*text) {
        char32_t code_point = 0;
        text += decode_utf8_terminated(text, &code_point);
        unit.clear();
        append_utf16(code_point, &unit);
        if (written + static_cast<int>(unit.size()) > capacity - 1)
            break;
        for (char16_t u : unit)
            out[written++] = u;
    }
    out[written] = 0;
    return written;
}

std::string utf8_from_utf16(const char16_t* text, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        char32_t code_point = text[i];
        if (is_high_surrogate(text[i]) && i + 1 < length && is_low_surrogate(text[i + 1])) {
            code_point = 0x10000 + ((code_point - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (is_high_surrogate(text[i]) || is_low_surrogate(text[i])) {
            code_point = UTF8_REPLACEMENT;
        }
        append_utf8(code_point, &out);
    }
    return out;
}

std::string utf8_from_utf16(const std::u16string& text) {
    return utf8_from_utf16(text.data(), text.size());
}

bool starts_with_utf8_bom(const char* bytes, size_t size) {
    return size >= UTF8_BOM_LENGTH && static_cast<unsigned char>(bytes[0]) == 0xEF &&
           static_cast<unsigned char>(bytes[1]) == 0xBB &&
           static_cast<unsigned char>(bytes[2]) == 0xBF;
}
