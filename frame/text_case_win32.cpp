// Case conversion by the user's locale for the ANSI code page, so that accented
// letters of option words compare as the user expects.
#include <windows.h>

#include <vector>

#include "frame/text.h"

namespace {

// CharLowerA / CharUpperA take a pointer whose high word 0 means "one character",
// so they always get a real, zero-terminated buffer, even for the empty text.
std::vector<char> text_buffer(const std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    return buffer;
}

}  // namespace

std::string lower_text(const std::string& text) {
    std::vector<char> buffer = text_buffer(text);
    CharLowerA(buffer.data());
    return std::string(buffer.data(), text.size());
}

std::string upper_text(const std::string& text) {
    std::vector<char> buffer = text_buffer(text);
    CharUpperA(buffer.data());
    return std::string(buffer.data(), text.size());
}
