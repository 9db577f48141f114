// Whole scans of the sandbox prefix's drive C:.
#include <windows.h>

#include <cstring>

#include "base/scan_state.h"
#include "engine/detection/signature_record.h"
#include "engine/scan_driver.h"
#include "engine_fixture.h"
#include "tools/samplegen/sample_pe.h"

using ScanDriverTest = EngineTest;

TEST_F(ScanDriverTest, CleanDriveGivesTheStatisticsBlockAndCompleted)
{
    ScratchFolder("clean");
    int expected = CountFiles("C:");
    RunScan();
    EXPECT_EQ(Statistics(expected, 0, 0), recorder_->results) << "no blank separator without an infection";
    ASSERT_FALSE(recorder_->statuses.empty());
    EXPECT_EQ("Scanning completed", recorder_->statuses.back());
    EXPECT_EQ(1, KeepResults);
}

TEST_F(ScanDriverTest, TerminationStillPrintsTheStatistics)
{
    recorder_->RequestTerminationAfter(25);
    RunScan();
    ASSERT_LT(Scan.filesScanned, 30);
    EXPECT_EQ(Statistics(Scan.filesScanned, 0, 0), recorder_->results);
    EXPECT_EQ("Scanning terminated", recorder_->statuses.back());
}

TEST_F(ScanDriverTest, ProgramFilesSpelledDifferentlyIsWalkedOnce)
{
    // The drive walk enters the folder under its on-disk spelling; only "\Program Files\" counts as visited,
    // so the driver turns to the folder's own pattern, and finds it entered by this scan already.
    // Two steps: a rename that only changes case may be taken as no change at all.
    ASSERT_TRUE(MoveFileA("C:\\Program Files", "C:\\vex-pf.tmp"));
    ASSERT_TRUE(MoveFileA("C:\\vex-pf.tmp", "C:\\PROGRAM FILES"));
    int total = CountFiles("C:");
    int programFiles = CountFiles("C:\\PROGRAM FILES");
    RunScan();
    MoveFileA("C:\\PROGRAM FILES", "C:\\vex-pf.tmp");
    MoveFileA("C:\\vex-pf.tmp", "C:\\Program Files");
    ASSERT_GT(programFiles, 0);
    EXPECT_EQ(Statistics(total, 0, 0), recorder_->results);
    EXPECT_EQ(0, Scan.programFilesPending);
}

TEST_F(ScanDriverTest, RestartIsOfferedOnlyWhenADeletionWasScheduled)
{
    {
        BoxAnswerer none(IDNO);
        RunScan();
        EXPECT_FALSE(none.AnsweredSoFar());
    }
    std::memset(&Scan, 0, sizeof Scan);
    Scan.mainWindow = recorder_->Window();
    Scan.restartNeeded = 1;
    BoxAnswerer no(IDNO);
    RunScan();
    EXPECT_TRUE(no.Answered()) << "the restart question was not asked";
    EXPECT_EQ("Scanning completed", recorder_->statuses.back()) << "the question comes after the final status";
}

TEST_F(ScanDriverTest, AnInfectionPutsABlankLineBeforeTheStatistics)
{
    std::string root = ScratchFolder("infected-drive");
    const SignatureRecord& record = SignatureTable[0];
    std::string path = root + "\\dropper.exe";
    std::string error;
    ASSERT_TRUE(WriteSample(path.c_str(), record, SampleOptions(), &error)) << error;
    int expected = CountFiles("C:");
    RunScan();
    std::vector<std::string> lines = {path + "     " + record.name + " removed", " "};
    for (const std::string& line : Statistics(expected, 1, 1)) lines.push_back(line);
    EXPECT_EQ(lines, recorder_->results);
}
