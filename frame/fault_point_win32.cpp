#include "frame/fault_point.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

void fault_point(const char* point) {
    char fault[64] = "";
    DWORD length = GetEnvironmentVariableA("TOOL_FAULT", fault, sizeof fault);
    if (length == 0 || length >= sizeof fault)
        return;
    const char* kind = std::strchr(fault, ':');
    size_t point_length = std::strlen(point);
    if (!kind || static_cast<size_t>(kind - fault) != point_length ||
        std::strncmp(fault, point, point_length) != 0)
        return;
    kind += 1;
    if (std::strcmp(kind, "memory") == 0)
        throw std::bad_alloc();
    if (std::strcmp(kind, "error") == 0)
        throw std::runtime_error("a fault raised on purpose");
    if (std::strcmp(kind, "abort") == 0)
        std::abort();
}
