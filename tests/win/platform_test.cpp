// The family codes agree with what the bench's Windows version reports.
#include <windows.h>

#include <gtest/gtest.h>

#include "system/platform.h"

TEST(PlatformWin, CodesFollowTheReportedVersion)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        EXPECT_EQ(PLATFORM_WIN9X, GetPlatformCode());
        EXPECT_EQ(NT_GENERATION_NONE, GetNtGeneration());
        return;
    }
    ASSERT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), info.dwPlatformId);
    EXPECT_EQ(PLATFORM_NT, GetPlatformCode());
    int expected = info.dwMajorVersion <= 4   ? NT_GENERATION_4
                   : info.dwMajorVersion == 5 ? NT_GENERATION_5
                                              : NT_GENERATION_NONE;
    EXPECT_EQ(expected, GetNtGeneration()) << info.dwMajorVersion << "." << info.dwMinorVersion;
}
