// A whole scan of a seeded machine: every sample found and deleted with its line, the clean files left alone,
// the statistics byte for byte, and the window's finished state.
#include <windows.h>

#include <algorithm>

#include "tests/gui/main_window_fixture.h"
#include "tests/gui/seeded_machine.h"
#include "tools/samplegen/sample_pe.h"

namespace gui {
namespace {

const char kSeedRoot[] = "C:\\Seeded";
const char kProgramFilesSeed[] = "C:\\Program Files\\Seeded";

class FullScan : public MainWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MakeFolders(std::string(kSeedRoot) + "\\Documents"));
        ASSERT_TRUE(MakeFolders(std::string(kSeedRoot) + "\\Tools"));
        ASSERT_TRUE(MakeFolders(kProgramFilesSeed));
        ASSERT_TRUE(WriteTextFile(std::string(kSeedRoot) + "\\Documents\\letter.txt", "Dear Sir,\r\n"));
        ASSERT_TRUE(WriteTextFile(std::string(kSeedRoot) + "\\Documents\\budget.csv", "month,amount\r\n1,20\r\n"));
        clean.push_back(std::string(kSeedRoot) + "\\Documents\\letter.txt");
        clean.push_back(std::string(kSeedRoot) + "\\Documents\\budget.csv");
        SeedSamples();
    }
    void TearDown() override
    {
        program_.reset();
        RemoveTree(kSeedRoot);
        RemoveTree(kProgramFilesSeed);
    }

    // One sample per shipped row: the first in a plain folder, the second read-only and hidden, the third in
    // Program Files; any further rows beside the first. A near miss (one byte longer) stands for a clean
    // program that merely resembles one.
    void SeedSamples()
    {
        const int rows = ShippedRowCount();
        ASSERT_GT(rows, 0);
        for (int row = 0; row < rows; ++row) {
            std::string path = row == 2 ? std::string(kProgramFilesSeed) + "\\update3.exe"
                                        : std::string(kSeedRoot) + "\\Tools\\setup" + std::to_string(row + 1) + ".exe";
            std::string error;
            ASSERT_TRUE(WriteRowSample(row, path, &error)) << error;
            if (row == 1) {
                ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
            }
            samples.push_back(SeededSample{path, RowName(row)});
        }
        std::string nearMiss = std::string(kSeedRoot) + "\\Tools\\viewer.exe";
        SampleOptions options;
        options.nearMiss = NEAR_MISS_LONGER;
        std::string error;
        ASSERT_TRUE(WriteSample(nearMiss.c_str(), SignatureTable[0], options, &error)) << error;
        clean.push_back(nearMiss);
    }

    std::vector<SeededSample> samples;
    std::vector<std::string> clean;
};

// A timer message that another program posts, with the scan timer's own id, before SCAN and after the scan,
// starts nothing: the files, the counts and the window stay as they are.
TEST_F(FullScan, RemovesEverySampleListsItAndEndsWithTheStatistics)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    const int filesOnC = CountFiles("C:\\");
    const WPARAM scanTimerId = 100;
    const std::string statusBefore = ItemText(ID_STATUS);
    PostMessageA(main_, WM_TIMER, scanTimerId, 0);
    ASSERT_TRUE(Flush(main_));
    EXPECT_EQ(statusBefore, ItemText(ID_STATUS)) << "a stray timer message started a scan";
    ExpectVisible({ID_SCAN, ID_DESCRIPTION, ID_PRODUCT_BANNER, ID_TOOLS_BANNER}, true);
    ExpectVisible({ID_OK, ID_CANCEL, ID_RESULTS, ID_STATUS}, false);
    ExpectEnabled({ID_SCAN}, true);
    EXPECT_TRUE(Lines().empty());
    for (const SeededSample& sample : samples) EXPECT_TRUE(FileExists(sample.path)) << sample.path;
    Click(Item(ID_SCAN));
    ASSERT_TRUE(WaitForStatus("Scanning completed", kScanTimeoutMs)) << "status: " << ItemText(ID_STATUS);

    std::vector<std::string> lines = Lines();
    const int count = static_cast<int>(samples.size());
    std::vector<std::string> expectedTail = StatisticsBlock(filesOnC, count, count);
    ASSERT_GE(lines.size(), expectedTail.size() + samples.size());
    std::vector<std::string> tail(lines.end() - expectedTail.size(), lines.end());
    EXPECT_EQ(expectedTail, tail);

    // The walk order is the file system's, so the removal lines are compared as a set.
    std::vector<std::string> found(lines.begin(), lines.end() - expectedTail.size());
    std::vector<std::string> expected;
    for (const SeededSample& sample : samples) expected.push_back(RemovedLine(sample));
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, found);

    for (const SeededSample& sample : samples) EXPECT_FALSE(FileExists(sample.path)) << sample.path;
    for (const std::string& path : clean) EXPECT_TRUE(FileExists(path)) << path;

    // Finished: one scan per run, the results stay.
    ExpectVisible({ID_OK, ID_RESULTS, ID_RESULTS_FRAME, ID_STATUS, ID_STATUS_FRAME, ID_SCAN, ID_DOWNLOAD}, true);
    ExpectVisible({ID_CANCEL, ID_SEARCHING_FOR, ID_PRODUCT_BANNER, ID_TOOLS_BANNER, ID_DESCRIPTION}, false);
    ExpectEnabled({ID_OK}, true);
    ExpectEnabled({ID_SCAN}, false);
    EXPECT_EQ("", ItemText(ID_STATUS_FRAME));
    Screenshot(main_, "finished");

    PostMessageA(main_, WM_TIMER, scanTimerId, 0);
    ASSERT_TRUE(Flush(main_));
    EXPECT_EQ(lines, Lines()) << "a timer message after the scan ran a second one";
    EXPECT_EQ("Scanning completed", ItemText(ID_STATUS));

    PressKey(main_, VK_RETURN);
    ASSERT_TRUE(Flush(main_));
    EXPECT_TRUE(program_->Running()) << "Enter closed the finished window";
    CloseWithOk();
}

}  // namespace
}  // namespace gui
