#include "toolkit/mnemonic.h"

#include "frame/utf8.h"

namespace {

// The position of the marking "&", or npos.
size_t mark_position(const std::string& caption) {
    for (size_t at = caption.find('&'); at != std::string::npos; at = caption.find('&', at + 2)) {
        if (at + 1 >= caption.size()) {
            return std::string::npos;
        }
        if (caption[at + 1] != '&') {
            return at;
        }
    }
    return std::string::npos;
}

}  // namespace

char32_t caption_key_letter(const std::string& caption) {
    size_t at = mark_position(caption);
    if (at == std::string::npos) {
        return 0;
    }
    char32_t letter = 0;
    decode_utf8(caption.data() + at + 1, caption.data() + caption.size(), &letter);
    return letter;
}

std::string caption_without_marks(const std::string& caption) {
    std::string plain;
    plain.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            ++i;
            if (i >= caption.size()) {
                break;
            }
        }
        plain += caption[i];
    }
    return plain;
}

KeyLetterTarget key_letter_target(const std::vector<char32_t>& letters, int focused, char32_t typed,
                                  LetterFold fold) {
    KeyLetterTarget target;
    const int count = static_cast<int>(letters.size());
    if (typed == 0 || count == 0) {
        return target;
    }
    const char32_t wanted = fold(typed);
    const int start = focused >= 0 && focused < count ? focused + 1 : 0;
    int matches = 0;
    for (int step = 0; step < count; ++step) {
        int i = (start + step) % count;
        if (letters[i] == 0 || fold(letters[i]) != wanted) {
            continue;
        }
        if (matches++ == 0) {
            target.index = i;
        }
    }
    target.press = matches == 1;
    return target;
}
