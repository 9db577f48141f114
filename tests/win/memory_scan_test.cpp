// The memory scan against real processes of the sandbox prefix: runnable samples started from drive C:.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/scan_state.h"
#include "engine/detection/signature_record.h"
#include "engine/scan_driver.h"
#include "engine_fixture.h"
#include "running_sample.h"
#include "system/memory/memory_scan.h"

using MemoryScanTest = EngineTest;

namespace {

std::vector<std::string> MemoryRemovalLines(const std::string& path)
{
    return {"System Memory    W32/StartPage.Trojan  removed", path + "     W32/StartPage.Trojan  removed"};
}

}  // namespace

TEST_F(MemoryScanTest, InfectedProcessIsTerminatedAndItsImageRemovedBeforeTheDrives)
{
    const std::string path = ScratchFolder("memory-infected") + "\\resident.exe";
    RunningSample sample(path, SignatureTable[0]);
    ASSERT_TRUE(sample.LoopsBeyond(0)) << "the sample does not run";
    const int filesOnDrive = CountFiles("C:");
    BoxAnswerer dismiss(IDOK);  // a "Could not kill process" box, should one appear, must not hang the test

    RunScan();

    EXPECT_TRUE(sample.Ended());
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(dismiss.AnsweredSoFar()) << "no box on the way";
    std::vector<std::string> expected = MemoryRemovalLines(path);
    expected.push_back(" ");
    // The image was gone before the drive walk, which counts every other file once.
    for (const std::string& line : Statistics(filesOnDrive - 1, 1, 1)) expected.push_back(line);
    EXPECT_EQ(expected, recorder_->results);
    EXPECT_EQ(0, Scan.memoryScanMode);
    EXPECT_EQ(0, Scan.memoryRestartNeeded);
}

TEST_F(MemoryScanTest, MemoryScanCountsTheImageAsInfectedButNotAsScanned)
{
    const std::string path = ScratchFolder("memory-counts") + "\\resident.exe";
    RunningSample sample(path, SignatureTable[0]);
    ASSERT_TRUE(sample.LoopsBeyond(0)) << "the sample does not run";
    BoxAnswerer dismiss(IDOK);

    ScanMemory(ScanMemorySteps);

    EXPECT_TRUE(sample.Ended());
    EXPECT_EQ(MemoryRemovalLines(path), recorder_->results);
    EXPECT_EQ(0, Scan.filesScanned);
    EXPECT_EQ(1, Scan.filesInfected);
    EXPECT_EQ(1, Scan.filesRemoved);
    EXPECT_EQ(0, Scan.restartNeeded);
    EXPECT_EQ(0, Scan.memoryRemovalAction);
}

TEST_F(MemoryScanTest, OnlyTheImageIsWalkedNotAFolderNamedLikeItBesideIt)
{
    const std::string folder = ScratchFolder("memory-beside");
    const std::string path = folder + "\\resident.exe";
    ASSERT_TRUE(CreateDirectoryA((folder + "\\resident.d").c_str(), nullptr));
    WriteFile(folder + "\\resident.d\\inside.txt", "x");
    RunningSample sample(path, SignatureTable[0]);
    ASSERT_TRUE(sample.LoopsBeyond(0)) << "the sample does not run";
    BoxAnswerer dismiss(IDOK);

    ScanMemory(ScanMemorySteps);

    EXPECT_TRUE(sample.Ended()) << "the infected process was not terminated";
    EXPECT_EQ(MemoryRemovalLines(path), recorder_->results);
    for (const std::string& shown : recorder_->statuses)
        EXPECT_EQ(std::string::npos, shown.find("resident.d")) << shown;
}

TEST_F(MemoryScanTest, CleanProcessIsLeftRunningAndNothingIsReported)
{
    const std::string path = ScratchFolder("memory-clean") + "\\bystander.exe";
    RunningSample sample(path, CleanRecordLike(SignatureTable[0]));
    ASSERT_TRUE(sample.LoopsBeyond(0)) << "the sample does not run";

    ScanMemory(ScanMemorySteps);

    EXPECT_TRUE(recorder_->results.empty());
    EXPECT_EQ(0, Scan.filesInfected);
    EXPECT_EQ(0, Scan.filesScanned);
    EXPECT_EQ(0, Scan.memoryScanMode);
    EXPECT_TRUE(sample.LoopsBeyond(sample.Rounds())) << "the clean process was touched";
    EXPECT_TRUE(FileExists(path));
    // Each process's image was shown while it was checked, the sample's among them.
    EXPECT_NE(recorder_->statuses.end(), std::find(recorder_->statuses.begin(), recorder_->statuses.end(), path));
}
