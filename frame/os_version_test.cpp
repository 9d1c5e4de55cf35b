#include "frame/os_version.h"

#include <gtest/gtest.h>

namespace {

TEST(OldSystemRule, Windows9xFamilyUsesTheTitle) {
    EXPECT_TRUE(uses_title_path(true, PLATFORM_WINDOWS_9X, 4));
}

TEST(OldSystemRule, NtBefore5UsesTheTitle) {
    EXPECT_TRUE(uses_title_path(true, PLATFORM_NT, 3));
    EXPECT_TRUE(uses_title_path(true, PLATFORM_NT, 4));
}

TEST(OldSystemRule, Windows2000AndLaterAskForTheConsoleWindow) {
    EXPECT_FALSE(uses_title_path(true, PLATFORM_NT, 5));
    EXPECT_FALSE(uses_title_path(true, PLATFORM_NT, 10));
}

TEST(OldSystemRule, UnknownVersionOrPlatformAsksForTheConsoleWindow) {
    EXPECT_FALSE(uses_title_path(false, PLATFORM_WINDOWS_9X, 4));
    EXPECT_FALSE(uses_title_path(false, PLATFORM_NT, 4));
    EXPECT_FALSE(uses_title_path(true, 0, 3));
    EXPECT_FALSE(uses_title_path(true, 3, 4));
}

}  // namespace
