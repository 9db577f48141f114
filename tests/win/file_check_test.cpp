// The file check over real files: samples of every shipped row are removed with the exact line, everything
// else is left byte for byte.
#include <windows.h>

#include <string>
#include <vector>

#include "base/scan_state.h"
#include "engine/detection/signature_record.h"
#include "engine/walker.h"
#include "engine_fixture.h"
#include "tools/samplegen/sample_pe.h"
#include "windows_version.h"

using FileCheckTest = EngineTest;

namespace {

std::vector<const SignatureRecord*> ShippedRows()
{
    std::vector<const SignatureRecord*> rows;
    for (const SignatureRecord* record = SignatureTable; record->name[0]; ++record) rows.push_back(record);
    return rows;
}

void PutSample(const std::string& path, const SignatureRecord& record, NearMiss nearMiss = NEAR_MISS_NONE)
{
    SampleOptions options;
    options.nearMiss = nearMiss;
    std::string error;
    ASSERT_TRUE(WriteSample(path.c_str(), record, options, &error)) << error;
}

// Holds a file open without delete sharing from this test process, which is no image of the file: nothing
// can be terminated to free it.
class HeldOpen {
public:
    explicit HeldOpen(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~HeldOpen()
    {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool Holds() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

std::string ReadAll(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

}  // namespace

TEST_F(FileCheckTest, EveryShippedRowIsRemovedWithItsName)
{
    std::string root = ScratchFolder("rows");
    std::vector<std::string> expected;
    int row = 0;
    for (const SignatureRecord* record : ShippedRows()) {
        std::string path = root + "\\sample" + std::to_string(++row) + ".exe";
        PutSample(path, *record);
        expected.push_back(path + "     " + record->name + " removed");
    }
    ASSERT_EQ(3u, expected.size());
    WalkDirectory((root + "\\*.*").c_str());
    EXPECT_EQ(expected, recorder_->results);
    EXPECT_EQ(3, Scan.filesInfected);
    EXPECT_EQ(3, Scan.filesRemoved);
    for (int i = 1; i <= 3; ++i) EXPECT_FALSE(FileExists(root + "\\sample" + std::to_string(i) + ".exe"));
}

TEST_F(FileCheckTest, ReadOnlyHiddenSystemSampleIsDeletedAfterItsAttributesAreReset)
{
    std::string root = ScratchFolder("attributes");
    const SignatureRecord& record = *ShippedRows().front();
    std::string path = root + "\\locked-down.exe";
    PutSample(path, record);
    ASSERT_TRUE(
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    WalkDirectory((root + "\\*.*").c_str());
    EXPECT_EQ(std::vector<std::string>{path + "     " + record.name + " removed"}, recorder_->results);
    EXPECT_FALSE(FileExists(path));
}

TEST_F(FileCheckTest, CleanFilesAndNearMissesAreCountedAndLeftByteForByte)
{
    std::string root = ScratchFolder("clean");
    const SignatureRecord& record = *ShippedRows().back();
    PutSample(root + "\\first-off.exe", record, NEAR_MISS_FIRST_STRING);
    PutSample(root + "\\second-off.exe", record, NEAR_MISS_SECOND_STRING);
    PutSample(root + "\\longer.exe", record, NEAR_MISS_LONGER);
    PutSample(root + "\\shorter.exe", record, NEAR_MISS_SHORTER);
    WriteFile(root + "\\notes.txt", "not a program at all");
    WriteFile(root + "\\empty.bin", "");
    std::string sized(static_cast<size_t>(record.fileSize), 'Z');  // the right length but no PE header
    WriteFile(root + "\\right-size.dat", sized);
    std::vector<std::string> names = {"first-off.exe", "second-off.exe", "longer.exe",    "shorter.exe",
                                      "notes.txt",     "empty.bin",      "right-size.dat"};
    std::vector<std::string> before;
    for (const auto& name : names) before.push_back(ReadAll(root + "\\" + name));

    WalkDirectory((root + "\\*.*").c_str());
    EXPECT_EQ(7, Scan.filesScanned);
    EXPECT_EQ(0, Scan.filesInfected);
    EXPECT_TRUE(recorder_->results.empty());
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(before[i], ReadAll(root + "\\" + names[i])) << names[i];
}

TEST_F(FileCheckTest, MemoryScanModeOnlyRecordsTheHit)
{
    std::string root = ScratchFolder("memory-mode");
    const SignatureRecord& record = *ShippedRows().front();
    std::string path = root + "\\running.exe";
    PutSample(path, record);
    Scan.memoryScanMode = 1;
    WalkDirectory(path.c_str());
    EXPECT_EQ(1, Scan.lastFileInfected);
    EXPECT_EQ(1, Scan.filesInfected);
    EXPECT_EQ(0, Scan.filesScanned);
    EXPECT_STREQ(record.name, Scan.detectionName);
    EXPECT_TRUE(recorder_->results.empty());
    EXPECT_TRUE(FileExists(path));
}

TEST_F(FileCheckTest, MemoryRemovalPassReportsTheMemoryLineThenTheRemovalUnderTheLabel)
{
    std::string root = ScratchFolder("memory-removal");
    std::string path = root + "\\was-running.exe";
    WriteFile(path, "whatever it holds, it is not matched again");
    Scan.memoryScanMode = 1;
    Scan.memoryRemovalAction = ACTION_DELETE;
    Scan.action = 0;
    WalkDirectory(path.c_str());
    std::vector<std::string> expected = {"System Memory    W32/StartPage.Trojan  removed",
                                         path + "     W32/StartPage.Trojan  removed"};
    EXPECT_EQ(expected, recorder_->results);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(ACTION_DELETE, Scan.action);
}

TEST_F(FileCheckTest, ActionOtherThanDeleteLeavesTheFile)
{
    std::string root = ScratchFolder("no-action");
    const SignatureRecord& record = *ShippedRows().front();
    PutSample(root + "\\kept.exe", record);
    Scan.action = 0;
    WalkDirectory((root + "\\*.*").c_str());
    EXPECT_EQ(1, Scan.filesInfected);
    EXPECT_TRUE(recorder_->results.empty());
    EXPECT_TRUE(FileExists(root + "\\kept.exe"));
}

TEST_F(FileCheckTest, FileThatCannotBeDeletedIsReportedAndScheduled)
{
    std::string root = ScratchFolder("held-open");
    const SignatureRecord& record = *ShippedRows().front();
    std::string path = root + "\\held.exe";
    PutSample(path, record);
    {
        HeldOpen holder(path);
        ASSERT_TRUE(holder.Holds());
        BoxAnswerer dismiss(IDOK);  // a "Could not kill process" box, should one appear
        WalkDirectory((root + "\\*.*").c_str());
    }
    EXPECT_EQ(std::vector<std::string>{path + "     " + record.name + " Unable to remove"}, recorder_->results);
    EXPECT_EQ(1, Scan.filesInfected);
    EXPECT_EQ(0, Scan.filesRemoved);
    EXPECT_EQ(1, Scan.restartNeeded);
}

TEST_F(FileCheckTest, AFailedSchedulingKeepsTheRestartThatAnEarlierFileNeeds)
{
    if (!IsWin9x()) GTEST_SKIP() << "only wininit.ini can refuse an entry";
    char windows[MAX_PATH];
    ASSERT_NE(0u, GetWindowsDirectoryA(windows, MAX_PATH));
    const std::string ini = std::string(windows) + "\\wininit.ini";
    WriteFile(ini, "[rename]\r\n");
    ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY));  // refuses the next entry
    const std::string root = ScratchFolder("second-held");
    const std::string path = root + "\\held.exe";
    PutSample(path, *ShippedRows().front());
    Scan.restartNeeded = 1;  // an earlier file was scheduled
    {
        HeldOpen holder(path);
        ASSERT_TRUE(holder.Holds());
        BoxAnswerer dismiss(IDOK);  // "Could not kill process"
        WalkDirectory((root + "\\*.*").c_str());
    }
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("[rename]\r\n", ReadAll(ini)) << "the scheduling did fail";
    DeleteFileA(ini.c_str());
    EXPECT_EQ(1, Scan.restartNeeded);
}
