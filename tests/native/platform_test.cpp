#include "system/platform.h"

#include <gtest/gtest.h>

TEST(Platform, PlatformIdentifiersGiveTheirCodes)
{
    EXPECT_EQ(PLATFORM_OTHER, PlatformCodeFor(0));  // Win32s
    EXPECT_EQ(PLATFORM_WIN9X, PlatformCodeFor(1));
    EXPECT_EQ(PLATFORM_NT, PlatformCodeFor(2));
    EXPECT_EQ(PLATFORM_OTHER, PlatformCodeFor(3));  // Windows CE
}

TEST(Platform, NtGenerationsByMajorVersion)
{
    struct Case {
        unsigned long platform, major;
        int generation;
    } cases[] =
        {
            {2, 3, NT_GENERATION_4},    {2, 4, NT_GENERATION_4},     {2, 5, NT_GENERATION_5},
            {2, 6, NT_GENERATION_NONE}, {2, 10, NT_GENERATION_NONE}, {1, 4, NT_GENERATION_NONE},
            {1, 5, NT_GENERATION_NONE},  // 9x is never an NT generation
        };
    for (const Case& c : cases)
        EXPECT_EQ(c.generation, NtGenerationFor(c.platform, c.major)) << c.platform << " " << c.major;
}
