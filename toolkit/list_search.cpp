#include "toolkit/list_search.h"

namespace {

bool matches(const char* line, const std::string& wanted, bool partial,
             const unsigned char fold[256]) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(line);
    for (unsigned char w : wanted) {
        if (*p == 0 || fold[*p] != fold[w])
            return false;
        ++p;
    }
    return partial || *p == 0;
}

}  // namespace

int find_list_line(const ListSearch& search, int count,
                   const std::function<const char*(int)>& text_of, const unsigned char fold[256]) {
    if (count <= 0)
        return -1;
    int start = search.start < 0 || search.start >= count ? 0 : search.start;
    for (int i = start; i < count; ++i) {
        if (matches(text_of(i), search.wanted, search.partial, fold))
            return i;
    }
    if (!search.wrap)
        return -1;
    for (int i = 0; i < start; ++i) {
        if (matches(text_of(i), search.wanted, search.partial, fold))
            return i;
    }
    return -1;
}
