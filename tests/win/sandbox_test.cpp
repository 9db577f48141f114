// The test prefix must expose nothing outside itself: the program deletes files on every fixed drive.
#include <windows.h>

#include <gtest/gtest.h>

TEST(Sandbox, OnlyDriveCIsFixed)
{
    EXPECT_EQ(static_cast<UINT>(DRIVE_FIXED), GetDriveTypeA("C:\\"));
    for (char letter = 'D'; letter <= 'Z'; ++letter) {
        char root[] = {letter, ':', '\\', '\0'};
        EXPECT_NE(static_cast<UINT>(DRIVE_FIXED), GetDriveTypeA(root)) << root;
    }
}

TEST(Sandbox, LinuxRootIsNotADrive)
{
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("Z:\\etc\\passwd"));
}

TEST(Sandbox, UserFoldersAreOnDriveC)
{
    // Wine links these into the Linux home; the sandbox replaces the links with plain folders.
    char profile[MAX_PATH];
    ASSERT_NE(0u, GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH));
    EXPECT_EQ('C', profile[0] & ~0x20) << profile;
}
