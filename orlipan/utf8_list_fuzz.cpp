// Reads the input as a UTF-8 list through sources of varying read sizes and
// decodes every line as the list shows it: the mark skip must agree with
// cutting the mark off beforehand, every byte must be accounted for, and the
// decoded text must be well-formed UTF-16 however broken the bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame/utf8.h"
#include "orlipan/line_store_testing.h"
#include "orlipan/utf8_list.h"

namespace {

std::vector<std::string> read_lines(const std::string& bytes, size_t piece, bool skip_mark) {
    ByteSource source = pieces_of(bytes, piece);
    return store_lines(skip_mark ? without_utf8_bom(source) : source);
}

void check_line(const std::string& line) {
    size_t used = 0;
    while (used < line.size()) {
        char32_t code_point = 0;
        size_t n = decode_utf8(line.data() + used, line.data() + line.size(), &code_point);
        if (n == 0 || n > 4 || code_point > 0x10FFFF ||
            (code_point >= 0xD800 && code_point < 0xE000))
            abort();
        used += n;
    }
    std::u16string wide = utf16_from_utf8(line);
    if (wide.size() > line.size())
        abort();
    for (size_t i = 0; i < wide.size(); ++i) {
        bool high = wide[i] >= 0xD800 && wide[i] < 0xDC00;
        bool low = wide[i] >= 0xDC00 && wide[i] < 0xE000;
        if (low ||
            (high && (i + 1 == wide.size() || wide[i + 1] < 0xDC00 || wide[i + 1] >= 0xE000)))
            abort();
        if (high)
            ++i;
    }
    // Well-formed UTF-16 goes to UTF-8 and back unchanged.
    if (utf16_from_utf8(utf8_from_utf16(wide)) != wide)
        abort();
    // What the list's buffer gets is the start of it, cut before a whole character.
    for (int capacity : {1, 2, 3, 8}) {
        std::vector<char16_t> buffer(capacity);
        int n = utf16_from_utf8_into(line.c_str(), buffer.data(), capacity);
        if (n > capacity - 1 || wide.compare(0, n, buffer.data(), n) != 0 || buffer[n] != 0)
            abort();
        if (n < (int)wide.size() && n + 2 < capacity)
            abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    size_t piece = 1 + data[0] % 5;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> lines = read_lines(bytes, piece, true);
    std::string unmarked =
        starts_with_utf8_bom(bytes.data(), bytes.size()) ? bytes.substr(UTF8_BOM_LENGTH) : bytes;
    if (lines != read_lines(unmarked, 4096, false))
        abort();
    for (const std::string& line : lines)
        check_line(line);
    return 0;
}
