#include "orlipan/utf8_list.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "frame/utf8.h"

namespace {

struct BomSkip {
    ByteSource source;
    bool started = false;
    bool ended = false;
    std::string head;  // the first bytes, read ahead to look for the mark
    size_t head_at = 0;
};

void read_head(BomSkip* skip) {
    char buffer[UTF8_BOM_LENGTH];
    while (skip->head.size() < UTF8_BOM_LENGTH) {
        int got = skip->source(buffer, static_cast<int>(UTF8_BOM_LENGTH - skip->head.size()));
        if (got <= 0) {
            skip->ended = true;
            break;
        }
        skip->head.append(buffer, static_cast<size_t>(got));
    }
    if (starts_with_utf8_bom(skip->head.data(), skip->head.size()))
        skip->head_at = UTF8_BOM_LENGTH;
}

}  // namespace

ByteSource without_utf8_bom(ByteSource source) {
    auto skip = std::make_shared<BomSkip>();
    skip->source = std::move(source);
    return [skip](char* buffer, int capacity) {
        if (!skip->started) {
            skip->started = true;
            read_head(skip.get());
        }
        if (capacity <= 0)
            return 0;
        if (skip->head_at < skip->head.size()) {
            size_t n = std::min(skip->head.size() - skip->head_at, static_cast<size_t>(capacity));
            std::memcpy(buffer, skip->head.data() + skip->head_at, n);
            skip->head_at += n;
            return static_cast<int>(n);
        }
        return skip->ended ? 0 : skip->source(buffer, capacity);
    };
}
