#include "vemo/box_copy.h"

namespace {

const char BOX_COPY_RULE[] = "---------------------------\r\n";
const char BOX_COPY_CAPTION_GAP[] = "   ";

// The label's CR, and a CR LF or LF that came through, each one line break.
std::string with_line_ends(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string box_copy_text(const std::string& title, const std::string& text,
                          const std::vector<std::string>& captions) {
    std::string out = BOX_COPY_RULE;
    out += with_line_ends(title) + "\r\n";
    out += BOX_COPY_RULE;
    out += with_line_ends(text) + "\r\n";
    out += BOX_COPY_RULE;
    for (const std::string& caption : captions) {
        out += caption + BOX_COPY_CAPTION_GAP;
    }
    out += "\r\n";
    out += BOX_COPY_RULE;
    return out;
}
