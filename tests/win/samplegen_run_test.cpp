// A runnable sample really starts, keeps running in its Sleep loop, and is still matched from disk: later
// tests rely on it standing in for a live infected process.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/platform_handles.h"
#include "engine/detection/signature_match.h"
#include "running_sample.h"
#include "tools/samplegen/memory_file.h"

namespace {

const char kSamplePath[] = "C:\\samplegen_run_test.exe";

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
        const SignatureRecord& record = ShippedRow(name);
        {
            RunningSample sample(kSamplePath, record);
            // Still running could also mean stuck in the loader or a crash handler: the loop counts its rounds.
            EXPECT_TRUE(sample.LoopsBeyond(1)) << "the entry loop does not run";
            constexpr UINT kOurs = 77;
            EXPECT_EQ(kOurs, sample.EndWith(kOurs)) << "the sample ended by itself";
        }
        ExpectMatchedOnDisk(record);
        EXPECT_TRUE(DeleteFileA(kSamplePath));
    }
}
