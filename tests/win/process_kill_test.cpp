// Each road terminates a running sample whose image is the file, on the Windows family it serves, and no
// process whose image is another file.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "base/platform_handles.h"
#include "running_sample.h"
#include "system/process_access.h"
#include "system/process_kill.h"
#include "windows_version.h"

namespace {
const char kFolder[] = "C:\\killtest";
const char kVictim[] = "C:\\killtest\\victim.exe";
const char kOtherFolder[] = "C:\\killtest\\other";
const char kSameNameElsewhere[] = "C:\\killtest\\other\\victim.exe";
constexpr DWORD kBoundMs = 10000;
constexpr DWORD kPollMs = 50;

const SignatureRecord& VictimRow()
{
    return ShippedRow("W32/StartPage.Balf.Trojan");
}

// The file's last handle goes away shortly after its process ends.
bool DeleteWithin(const char* path)
{
    for (DWORD waited = 0; waited < kBoundMs; waited += kPollMs) {
        if (DeleteFileA(path)) return true;
        Sleep(kPollMs);
    }
    return false;
}

class ProcessKill : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateDirectoryA(kFolder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        ASSERT_TRUE(CreateDirectoryA(kOtherFolder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    }
    void TearDown() override
    {
        for (const char* path : {kVictim, kSameNameElsewhere})
            if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) DeleteWithin(path);
        RemoveDirectoryA(kOtherFolder);
        RemoveDirectoryA(kFolder);
    }
};

// Closes the "Could not kill process" box as soon as it shows, and remembers that it did.
class BoxWatcher {
public:
    explicit BoxWatcher(const char* caption) : caption_(caption)
    {
        thread_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
    }
    ~BoxWatcher()
    {
        stop_ = 1;
        WaitForSingleObject(thread_, kBoundMs);
        CloseHandle(thread_);
    }
    bool Seen() const { return seen_ != 0; }

private:
    static DWORD WINAPI Watch(void* self)
    {
        auto* watcher = static_cast<BoxWatcher*>(self);
        while (!watcher->stop_) {
            HWND box = FindWindowA(nullptr, watcher->caption_);
            if (box) {
                BOOL found = FALSE;
                EnumChildWindows(box, FindText, reinterpret_cast<LPARAM>(&found));
                if (found) watcher->seen_ = 1;
                PostMessageA(box, WM_CLOSE, 0, 0);
            }
            Sleep(kPollMs);
        }
        return 0;
    }
    static BOOL CALLBACK FindText(HWND child, LPARAM out)
    {
        char text[64];
        if (GetWindowTextA(child, text, sizeof text) > 0 && std::strcmp(text, "Could not kill process") == 0) {
            *reinterpret_cast<BOOL*>(out) = TRUE;
            return FALSE;
        }
        return TRUE;
    }

    const char* caption_;
    HANDLE thread_;
    volatile LONG stop_ = 0;
    volatile LONG seen_ = 0;
};
}  // namespace

TEST_F(ProcessKill, EveryProcessOfTheImageEndsButALookAlikeElsewhereKeepsRunning)
{
    if (!IsWin9x() && NtMajorVersion() != 5) GTEST_SKIP() << "Wine's performance data lists no process";
    // Started first, so that a road going by file name would meet the look-alike first.
    RunningSample lookAlike(kSameNameElsewhere, CleanRecordLike(VictimRow()));
    RunningSample first(kVictim, VictimRow());
    RunningSample second(kVictim, first);
    ASSERT_TRUE(first.LoopsBeyond(0) && second.LoopsBeyond(0) && lookAlike.LoopsBeyond(0));
    EXPECT_EQ(1, KillProcessesByImage(kVictim));
    EXPECT_TRUE(first.Ended());
    EXPECT_TRUE(second.Ended());
    EXPECT_TRUE(lookAlike.LoopsBeyond(lookAlike.Rounds())) << "a program of the same name in another folder";
    EXPECT_TRUE(DeleteWithin(kVictim));
}

TEST_F(ProcessKill, ToolhelpShowsTheBoxWithThePathAsCaptionWhenOnlyALookAlikeRuns)
{
    if (!IsWin9x()) GTEST_SKIP() << "the toolhelp road is the 9x family's";
    RunningSample lookAlike(kSameNameElsewhere, CleanRecordLike(VictimRow()));
    ASSERT_TRUE(lookAlike.LoopsBeyond(0));
    BoxWatcher watcher(kVictim);
    EXPECT_EQ(0, KillProcessesByImage(kVictim));
    EXPECT_TRUE(watcher.Seen());
    EXPECT_TRUE(lookAlike.LoopsBeyond(lookAlike.Rounds()));
}

TEST_F(ProcessKill, PsapiTerminatesByFullPathIgnoringCaseOnNt5)
{
    if (NtMajorVersion() != 5) GTEST_SKIP() << "the process-status road is NT 5's";
    RunningSample victim(kVictim, VictimRow());
    ASSERT_TRUE(victim.LoopsBeyond(0));
    EXPECT_EQ(1, KillByPsapi("C:\\KILLTEST\\VICTIM")) << "the enumeration ran";
    EXPECT_TRUE(victim.Running()) << "a prefix of the image path is not the image";
    EXPECT_EQ(1, KillProcessesByImage("C:\\KILLTEST\\VICTIM.EXE"));
    EXPECT_TRUE(victim.Ended());
    EXPECT_TRUE(DeleteWithin(kVictim));
}

TEST_F(ProcessKill, PerfDataTerminatesTheRunningImageOnNt4AndFromVistaOn)
{
    const DWORD major = NtMajorVersion();
    if (major == 0 || major == 5) GTEST_SKIP() << "the performance-data road is NT 4's and Vista's onwards";
    RunningSample victim(kVictim, VictimRow());
    ASSERT_TRUE(victim.LoopsBeyond(0));
    if (RunningUnderWine()) {
        // Wine's performance data holds no process object: the road finds nothing and ends nothing.
        EXPECT_EQ(0, KillByPerfData(kVictim));
        EXPECT_TRUE(victim.Running());
        return;
    }
    EXPECT_EQ(1, KillByPerfData(kVictim));
    EXPECT_TRUE(victim.Ended());
}

// The identifier read at enumeration may since name another program: the one whose image is not the file is
// left alone, the one whose image is the file is ended.
TEST_F(ProcessKill, ATerminationNeedsTheOpenedProcessToRunTheFile)
{
    RunningSample bystander(kSameNameElsewhere, CleanRecordLike(VictimRow()));
    ASSERT_TRUE(bystander.LoopsBeyond(0));
    EXPECT_FALSE(TerminateIfImage(bystander.Id(), kVictim));
    EXPECT_TRUE(bystander.LoopsBeyond(bystander.Rounds()));
    EXPECT_TRUE(TerminateIfImage(bystander.Id(), "C:\\KILLTEST\\OTHER\\VICTIM.EXE"));
    EXPECT_TRUE(bystander.Ended());
}

// Each family has its own way to read an open process's image; Wine offers all of them.
TEST_F(ProcessKill, EveryWayOfReadingAnImageNamesTheRunningFile)
{
    RunningSample victim(kVictim, VictimRow());
    ASSERT_TRUE(victim.LoopsBeyond(0));
    ScopedHandle process(OpenForQuery(victim.Id()));
    ASSERT_TRUE(process.IsValid());
    for (ImageReader read : {ImageByFullName, ImageByModuleName, ImageBySnapshot}) {
        char image[MAX_PATH] = "";
        EXPECT_TRUE(read(process.Get(), victim.Id(), image) && IsImagePath(kVictim, image)) << image;
    }
}
