// Scheduling a deletion for the next start: wininit.ini on the 9x family, a pending delete on NT.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/platform_handles.h"
#include "repair/delete_on_reboot.h"
#include "windows_version.h"

namespace {
const char kLocked[] = "C:\\reboottest\\Locked File.exe";
constexpr size_t kMaxRead = 1 << 20;

std::string WindowsFile(const char* name)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\" + name;
}

std::string IniPath()
{
    return WindowsFile("wininit.ini");
}

std::string ReadFileText(const std::string& path)
{
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid()) return "<missing>";
    std::string text(kMaxRead, '\0');
    DWORD read = 0;
    ReadFile(file.Get(), &text[0], kMaxRead, &read, nullptr);
    text.resize(read);
    return text;
}

void WriteFileText(const std::string& path, const std::string& text)
{
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file.IsValid());
    ASSERT_TRUE(WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
}

std::string ShortPath(const char* path)
{
    char shortPath[MAX_PATH] = "";
    GetShortPathNameA(path, shortPath, MAX_PATH);
    return shortPath;
}

class WininitRenameWin : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!IsWin9x()) GTEST_SKIP() << "wininit.ini is the 9x family's";
        SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(IniPath().c_str());
        CreateDirectoryA("C:\\reboottest", nullptr);
        WriteFileText(kLocked, "MZ");
    }
    void TearDown() override
    {
        SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(IniPath().c_str());
        DeleteFileA(WindowsFile("wininit.vxo").c_str());
        DeleteFileA(WindowsFile("wininit.bak").c_str());
        DeleteFileA(kLocked);
        RemoveDirectoryA("C:\\reboottest");
    }
};
}  // namespace

TEST_F(WininitRenameWin, NewFileHoldsTheSectionAndTheShortPath)
{
    std::string shortPath = ShortPath(kLocked);
    ASSERT_NE("", shortPath);
    EXPECT_EQ(std::string::npos, shortPath.find(' ')) << shortPath;
    ASSERT_EQ(1, ScheduleDeleteOnReboot(kLocked));
    EXPECT_EQ("[rename]\r\nNUL=" + shortPath + "\r\n", ReadFileText(IniPath()));
}

TEST_F(WininitRenameWin, EntriesEndTheExistingSectionAndKeepEveryLine)
{
    WriteFileText(IniPath(), "[boot]\r\nx=1\r\n[RENAME]\r\nNUL=C:\\OLD.TMP\r\n[386Enh]\r\ny=2");
    ASSERT_EQ(1, ScheduleDeleteOnReboot(kLocked));
    ASSERT_EQ(1, AddWininitRename("NUL", "C:\\SECOND.TMP"));
    EXPECT_EQ("[boot]\r\nx=1\r\n[RENAME]\r\nNUL=C:\\OLD.TMP\r\nNUL=" + ShortPath(kLocked) +
                  "\r\nNUL=C:\\SECOND.TMP\r\n[386Enh]\r\ny=2",
              ReadFileText(IniPath()));
}

TEST_F(WininitRenameWin, LongLinesAndAMissingSection)
{
    std::string longLine = std::string(2000, 'x') + "[rename]\r\n";
    WriteFileText(IniPath(), "[boot]\r\n" + longLine);
    ASSERT_EQ(1, AddWininitRename("NUL", "C:\\A.TMP"));
    EXPECT_EQ("[boot]\r\n" + longLine + "[rename]\r\nNUL=C:\\A.TMP\r\n", ReadFileText(IniPath()));
}

TEST_F(WininitRenameWin, RewrittenFileKeepsItsHiddenAndSystemMarks)
{
    WriteFileText(IniPath(), "[rename]\r\n");
    ASSERT_TRUE(SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    DWORD before = GetFileAttributesA(IniPath().c_str());
    ASSERT_EQ(1, AddWininitRename("NUL", "C:\\A.TMP"));
    EXPECT_EQ(before, GetFileAttributesA(IniPath().c_str()));
    EXPECT_EQ("[rename]\r\nNUL=C:\\A.TMP\r\n", ReadFileText(IniPath()));
}

TEST_F(WininitRenameWin, NothingIsWrittenWithoutAShortPathOrIntoAReadOnlyFile)
{
    EXPECT_EQ(0, ScheduleDeleteOnReboot("C:\\reboottest\\vanished.exe"));
    EXPECT_EQ("<missing>", ReadFileText(IniPath()));
    WriteFileText(IniPath(), "[rename]\r\nNUL=C:\\OLD.TMP\r\n");
    SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, ScheduleDeleteOnReboot(kLocked));
    EXPECT_EQ("[rename]\r\nNUL=C:\\OLD.TMP\r\n", ReadFileText(IniPath()));
}

TEST_F(WininitRenameWin, PendingRenamesLeftAsideByAnEarlierRunArePutBackFirst)
{
    // As after a rewrite whose renames both failed: the old file is only under its aside name.
    const std::string pending = "[rename]\r\nC:\\WINDOWS\\SYSTEM\\A.DLL=C:\\WINDOWS\\SYSTEM\\A.NEW\r\n";
    WriteFileText(WindowsFile("wininit.vxo"), pending);
    ASSERT_EQ(1, AddWininitRename("NUL", "C:\\A.TMP"));
    EXPECT_EQ(pending + "NUL=C:\\A.TMP\r\n", ReadFileText(IniPath()));
    EXPECT_EQ("<missing>", ReadFileText(WindowsFile("wininit.vxo")));
}

TEST_F(WininitRenameWin, AnAsideCopyOlderThanTheLastCarriedOutFileIsNotRunAgain)
{
    // The power failed after the new file took the old one's place; the next start carried out the new one.
    const std::string aside = WindowsFile("wininit.vxo");
    const std::string carriedOut = WindowsFile("wininit.bak");
    WriteFileText(aside, "[rename]\r\nNUL=C:\\OLD.TMP\r\n");
    WriteFileText(carriedOut, "[rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=C:\\NEWER.TMP\r\n");
    FILETIME older = {0x10000000, 0x01C00000};
    FILETIME newer = {0x10000000, 0x01C10000};
    for (const auto& stamp : {std::make_pair(aside, older), std::make_pair(carriedOut, newer)}) {
        ScopedHandle file(
            CreateFileA(stamp.first.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &stamp.second));
    }
    ASSERT_EQ(1, AddWininitRename("NUL", "C:\\A.TMP"));
    EXPECT_EQ("[rename]\r\nNUL=C:\\A.TMP\r\n", ReadFileText(IniPath()));
}

TEST(DelayedDeleteWin, PendingDeleteIsRecordedOnNt)
{
    if (IsWin9x()) GTEST_SKIP() << "the delayed move is the NT family's";
    CreateDirectoryA("C:\\reboottest", nullptr);
    WriteFileText(kLocked, "MZ");
    ASSERT_EQ(1, ScheduleDeleteOnReboot(kLocked));

    ScopedKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", KEY_READ));
    std::string pending(64 * 1024, '\0');
    DWORD size = static_cast<DWORD>(pending.size());
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key.Get(), "PendingFileRenameOperations", nullptr, nullptr,
                                              reinterpret_cast<BYTE*>(&pending[0]), &size));
    pending.resize(size);
    // Pairs of source and an empty destination: the source, then two zeros.
    EXPECT_NE(std::string::npos, pending.find(std::string("C:\\reboottest\\Locked File.exe\0\0", 31))) << pending;
    DeleteFileA(kLocked);
    RemoveDirectoryA("C:\\reboottest");
}
