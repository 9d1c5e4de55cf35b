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

int find_list_line_where(int start, bool wrap, int count, const std::function<bool(int)>& accepts) {
    if (count <= 0)
        return -1;
    if (start < 0 || start >= count)
        start = 0;
    for (int i = start; i < count; ++i) {
        if (accepts(i))
            return i;
    }
    if (!wrap)
        return -1;
    for (int i = 0; i < start; ++i) {
        if (accepts(i))
            return i;
    }
    return -1;
}

int find_list_line(const ListSearch& search, int count,
                   const std::function<const char*(int)>& text_of, const unsigned char fold[256]) {
    return find_list_line_where(search.start, search.wrap, count, [&](int i) {
        return matches(text_of(i), search.wanted, search.partial, fold);
    });
}
