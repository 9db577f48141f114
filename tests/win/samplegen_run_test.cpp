// A runnable sample really starts, keeps running in its Sleep loop, and is still matched from disk: later
// tests rely on it standing in for a live infected process.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/signature_match.h"
#include "base/platform_handles.h"
#include "tools/samplegen/memory_file.h"
#include "tools/samplegen/sample_pe.h"

namespace {

const char kSamplePath[] = "C:\\samplegen_run_test.exe";
constexpr DWORD kStartWaitMs = 500;
constexpr DWORD kBoundMs = 10000;
constexpr DWORD kPollMs = 50;

const SignatureRecord* RecordNamed(const char* name)
{
    for (const SignatureRecord* record = SignatureTable; record->name[0] != '\0'; ++record)
        if (std::strcmp(record->name, name) == 0) return record;
    return nullptr;
}

std::vector<uint8_t> ReadWholeFile(const char* path)
{
    ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::vector<uint8_t> bytes;
    if (!file.IsValid()) return bytes;
    bytes.resize(GetFileSize(file.Get(), nullptr));
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
        bytes.clear();
    return bytes;
}

// A started sample; terminated and released whatever the test's outcome.
class SampleProcess {
public:
    explicit SampleProcess(const PROCESS_INFORMATION& info) : process_(info.hProcess), thread_(info.hThread) {}
    ~SampleProcess()
    {
        if (WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.Get(), 1);
            WaitForSingleObject(process_.Get(), kBoundMs);
        }
    }
    HANDLE Get() const { return process_.Get(); }

private:
    ScopedHandle process_;
    ScopedHandle thread_;
};

// The sample's round counter, or 0 when its memory cannot be read.
DWORD ReadRoundCounter(HANDLE process, const SampleInfo& info)
{
    DWORD rounds = 0;
    SIZE_T read = 0;
    const uintptr_t address = info.imageBase + info.counterRva;
    if (!ReadProcessMemory(process, reinterpret_cast<LPCVOID>(address), &rounds, sizeof rounds, &read)) return 0;
    return read == sizeof rounds ? rounds : 0;
}

// Starts the sample at kSamplePath, checks that its loop runs, and ends it.
void ExpectSampleRuns(const SampleInfo& info)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    char commandLine[sizeof kSamplePath];
    std::memcpy(commandLine, kSamplePath, sizeof kSamplePath);
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup, &started))
        << GetLastError();
    SampleProcess process(started);

    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(process.Get(), kStartWaitMs));
    // Still running could also mean stuck in the loader or a crash handler: the loop counts its rounds.
    DWORD rounds = ReadRoundCounter(process.Get(), info);
    for (DWORD waited = 0; rounds < 2 && waited < kBoundMs; waited += kPollMs) {
        if (WaitForSingleObject(process.Get(), kPollMs) != WAIT_TIMEOUT) break;
        rounds = ReadRoundCounter(process.Get(), info);
    }
    EXPECT_GE(rounds, 2u) << "the entry loop does not run";

    ASSERT_TRUE(TerminateProcess(process.Get(), 0));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.Get(), kBoundMs));
}

void ExpectMatchedOnDisk(const SignatureRecord& record)
{
    const std::vector<uint8_t> onDisk = ReadWholeFile(kSamplePath);
    ASSERT_EQ(static_cast<size_t>(record.fileSize), onDisk.size());
    MemoryFile file(onDisk);
    PeHeaders headers;
    ASSERT_EQ(1, ReadPeHeaders(file, headers));
    const SignatureRecord* hit = MatchSignatureTable(file, static_cast<int32_t>(onDisk.size()), headers);
    ASSERT_NE(nullptr, hit);
    EXPECT_STREQ(record.name, hit->name);
}

}  // namespace

TEST(SampleGen, RunnableSamplesKeepRunningAndStillMatch)
{
    // W32/StartPage.Trojan first: its first string lies 95 KB before the entry point.
    const char* const names[] = {"W32/StartPage.Trojan", "W32/StartPage.Eej.Dropper.Trojan",
                                 "W32/StartPage.Balf.Trojan"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const SignatureRecord* record = RecordNamed(name);
        ASSERT_NE(nullptr, record);
        SampleOptions options;
        options.runnable = true;
        options.machine = kBuildMachine;
        std::vector<uint8_t> image;
        SampleInfo info;
        std::string error;
        ASSERT_TRUE(BuildSample(*record, options, image, &info, &error)) << error;
        ASSERT_TRUE(WriteImage(kSamplePath, image, &error)) << error;
        ExpectSampleRuns(info);
        ExpectMatchedOnDisk(*record);
        EXPECT_TRUE(DeleteFileA(kSamplePath));
    }
}
