// Each road terminates a running sample whose image is the file, on the Windows family it serves.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/signature_record.h"
#include "system/platform.h"
#include "base/platform_handles.h"
#include "system/process_kill.h"
#include "tools/samplegen/sample_pe.h"
#include "windows_version.h"

namespace {
const char kFolder[] = "C:\\killtest";
const char kVictim[] = "C:\\killtest\\victim.exe";
constexpr DWORD kBoundMs = 10000;
constexpr DWORD kPollMs = 50;

// A started copy of the runnable sample; ended and released whatever the test's outcome.
class Victim {
public:
    Victim()
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        char commandLine[sizeof kVictim];
        std::memcpy(commandLine, kVictim, sizeof kVictim);
        if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, kFolder, &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
        }
    }
    ~Victim()
    {
        if (IsRunning()) TerminateProcess(process_, 1);
        if (process_) {
            WaitForSingleObject(process_, kBoundMs);
            CloseHandle(process_);
        }
    }
    Victim(const Victim&) = delete;
    Victim& operator=(const Victim&) = delete;

    bool Started() const { return process_ != nullptr; }
    bool IsRunning() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    bool Ended() const { return process_ && WaitForSingleObject(process_, kBoundMs) == WAIT_OBJECT_0; }

private:
    HANDLE process_ = nullptr;
};

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
        CreateDirectoryA(kFolder, nullptr);
        const SignatureRecord* record = SignatureTable;
        while (record->name[0] != '\0' && std::strcmp(record->name, "W32/StartPage.Balf.Trojan") != 0) ++record;
        ASSERT_NE('\0', record->name[0]);
        SampleOptions options;
        options.runnable = true;
        options.machine = kBuildMachine;
        std::string error;
        ASSERT_TRUE(WriteSample(kVictim, *record, options, &error)) << error;
    }
    void TearDown() override
    {
        if (GetFileAttributesA(kVictim) != INVALID_FILE_ATTRIBUTES) DeleteWithin(kVictim);
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

TEST_F(ProcessKill, ToolhelpTerminatesTheRunningImageOn9x)
{
    if (!IsWin9x()) GTEST_SKIP() << "the toolhelp road is the 9x family's";
    Victim victim;
    ASSERT_TRUE(victim.Started());
    EXPECT_EQ(1, KillProcessesByImage(kVictim));
    EXPECT_TRUE(victim.Ended());
    EXPECT_TRUE(DeleteWithin(kVictim));
}

TEST_F(ProcessKill, ToolhelpTerminatesOnlyTheFirstOfTwoCopies)
{
    if (!IsWin9x()) GTEST_SKIP() << "the toolhelp road is the 9x family's";
    Victim first, second;
    ASSERT_TRUE(first.Started() && second.Started());
    EXPECT_EQ(1, KillByToolhelp("C:\\ELSEWHERE\\VICTIM.EXE")) << "toolhelp compares file names only";
    Sleep(500);  // the road's own pause is over; give a wrong second termination the same time to show
    EXPECT_EQ(1, first.IsRunning() + second.IsRunning());
}

TEST_F(ProcessKill, ToolhelpWithoutAMatchShowsTheBoxWithThePathAsCaption)
{
    if (!IsWin9x()) GTEST_SKIP() << "the toolhelp road is the 9x family's";
    const char missing[] = "C:\\killtest\\nothing.exe";
    BoxWatcher watcher(missing);
    EXPECT_EQ(0, KillProcessesByImage(missing));
    EXPECT_TRUE(watcher.Seen());
}

TEST_F(ProcessKill, PsapiTerminatesByFullPathIgnoringCaseOnNt5)
{
    if (NtMajorVersion() != 5) GTEST_SKIP() << "the process-status road is NT 5's";
    Victim victim;
    ASSERT_TRUE(victim.Started());
    EXPECT_EQ(1, KillByPsapi("C:\\KILLTEST\\VICTIM")) << "the enumeration ran";
    EXPECT_TRUE(victim.IsRunning()) << "a prefix of the image path is not the image";
    EXPECT_EQ(1, KillProcessesByImage("C:\\KILLTEST\\VICTIM.EXE"));
    EXPECT_TRUE(victim.Ended());
    EXPECT_TRUE(DeleteWithin(kVictim));
}

TEST_F(ProcessKill, PerfDataFindsNoProcessObjectUnderWine)
{
    DWORD major = NtMajorVersion();
    if (major == 0 || major == 5) GTEST_SKIP() << "the performance-data road is NT 4's and Vista's onwards";
    // Wine's performance data holds no process object: nothing is terminated, the image keeps running.
    Victim victim;
    ASSERT_TRUE(victim.Started());
    EXPECT_EQ(0, KillByPerfData(kVictim));
    EXPECT_TRUE(victim.IsRunning());
    EXPECT_EQ(0, KillByPerfData("a.ex"));
}
