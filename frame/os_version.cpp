#include "frame/os_version.h"

bool uses_title_path(bool version_known, unsigned platform_id, unsigned major_version) {
    if (!version_known) {
        return false;
    }
    return platform_id == PLATFORM_WINDOWS_9X || (platform_id == PLATFORM_NT && major_version < 5);
}
