// Questions during a scan: CANCEL, the X button and Escape ask before they stop anything; No lets the scan go
// on, Yes ends it with "Scanning terminated" and the full statistics. A large tree of plain files keeps the scan
// busy long enough to ask twice.
#include <windows.h>

#include "tests/gui/main_window_fixture.h"
#include "tests/gui/seeded_machine.h"

namespace gui {
namespace {

const char kBulkRoot[] = "C:\\Bulk";

class BusyScan : public MainWindowTest {
protected:
    static void SetUpTestSuite() { bulkWritten = WriteBulkTree(kBulkRoot, 40, 200); }
    static void TearDownTestSuite() { RemoveTree(kBulkRoot); }
    void SetUp() override { ASSERT_TRUE(bulkWritten); }
    void TearDown() override { program_.reset(); }

    // Starts a scan and checks the scanning state.
    void StartScan()
    {
        ASSERT_NO_FATAL_FAILURE(Start());
        filesOnC = CountFiles("C:\\");
        Click(Item(ID_SCAN));
        // Among the pages, not merely in the bulk root, whose entries are all folders: a question asked there
        // could end a scan that has counted no file yet.
        const std::string pages = std::string(kBulkRoot) + "\\folder";
        ASSERT_TRUE(WaitFor(
            [&] {
                const std::string status = ItemText(ID_STATUS);
                return Visible(Item(ID_CANCEL)) && status.rfind(pages, 0) == 0 &&
                       status.find("\\page") != std::string::npos;
            },
            kScanTimeoutMs))
            << "status: " << ItemText(ID_STATUS);
        ExpectVisible({ID_CANCEL, ID_SEARCHING_FOR, ID_STATUS, ID_STATUS_FRAME, ID_RESULTS, ID_RESULTS_FRAME}, true);
        ExpectVisible({ID_OK, ID_DESCRIPTION, ID_COPYRIGHT, ID_PRODUCT_BANNER, ID_TOOLS_BANNER}, false);
        ExpectEnabled({ID_SCAN}, false);
        EXPECT_EQ("Scanning", ItemText(ID_STATUS_FRAME));
        EXPECT_EQ("Searching for W32/StartPage Trojan and its variants", ItemText(ID_SEARCHING_FOR));
    }

    // Asks through `button`, answers No and checks that the scan goes on.
    void AskAndGoOn(int button, const char* caption)
    {
        Click(Item(button));
        HWND box = WaitForQuestion(caption);
        ASSERT_NE(nullptr, box);
        Screenshot(box, ShotName(button, "question").c_str());
        ASSERT_NO_FATAL_FAILURE(Answer(box, IDNO));
        ExpectVisible({ID_CANCEL}, true);
        ExpectVisible({ID_OK}, false);
        const std::string status = ItemText(ID_STATUS);
        EXPECT_TRUE(WaitFor([&] { return ItemText(ID_STATUS) != status; }, kReplyTimeoutMs))
            << "the scan stopped after No";
        EXPECT_NE("Scanning terminated", ItemText(ID_STATUS));
    }

    // Asks through `button`, answers Yes and checks the terminated scan's window.
    void AskAndTerminate(int button, const char* caption)
    {
        Click(Item(button));
        HWND box = WaitForQuestion(caption);
        ASSERT_NE(nullptr, box);
        ASSERT_NO_FATAL_FAILURE(Answer(box, IDYES));
        ASSERT_TRUE(WaitForStatus("Scanning terminated", kScanTimeoutMs)) << "status: " << ItemText(ID_STATUS);
        ExpectVisible({ID_OK}, true);
        ExpectVisible({ID_CANCEL, ID_SEARCHING_FOR}, false);
        ExpectEnabled({ID_SCAN}, false);

        std::vector<std::string> lines = Lines();
        ASSERT_GE(lines.size(), 5u);
        std::vector<std::string> tail(lines.end() - 5, lines.end());
        const int scanned = StatisticsValue(tail[2]);
        EXPECT_EQ(StatisticsBlock(scanned, 0, 0), tail);
        EXPECT_GT(scanned, 0);
        EXPECT_LT(scanned, filesOnC) << "the scan was not cut short";
        Screenshot(main_, ShotName(button, "terminated").c_str());
    }

    static std::string ShotName(int button, const char* state)
    {
        return std::string(button == ID_CANCEL ? "cancel-" : "x-") + state;
    }

    static bool bulkWritten;
    int filesOnC = 0;
};

bool BusyScan::bulkWritten = false;

// Escape answered with Escape, keystroke by keystroke as a keyboard delivers them: the press asks, its release
// goes to the box, the second press answers No there, and its release arrives after the box has gone. One
// question, and the scan runs on to its end.
TEST_F(BusyScan, EscapeAnsweredWithEscapeAsksOnce)
{
    ASSERT_NO_FATAL_FAILURE(StartScan());
    PostKeystroke(main_, VK_ESCAPE, true);
    HWND box = WaitForQuestion(kProductCaption);
    ASSERT_NE(nullptr, box);
    PostKeystroke(box, VK_ESCAPE, false);
    PostKeystroke(box, VK_ESCAPE, true);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kReplyTimeoutMs)) << "Escape did not answer the box";
    PostKeystroke(main_, VK_ESCAPE, false);
    ASSERT_TRUE(Flush(main_));
    // A question box disables the window before its own loop runs.
    ASSERT_TRUE(Enabled(main_)) << "the release asked again";
    ASSERT_EQ(nullptr, program_->FindWindowTitled(kProductCaption, main_, 0));
    ASSERT_TRUE(WaitForStatus("Scanning completed", kScanTimeoutMs)) << "status: " << ItemText(ID_STATUS);
    std::vector<std::string> lines = Lines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(StatisticsBlock(filesOnC, 0, 0), std::vector<std::string>(lines.end() - 5, lines.end()));
    CloseWithOk();
}

TEST_F(BusyScan, CancelAsksUnderTheProductCaption)
{
    ASSERT_NO_FATAL_FAILURE(StartScan());
    Screenshot(main_, "scanning");
    ASSERT_NO_FATAL_FAILURE(AskAndGoOn(ID_CANCEL, kProductCaption));
    ASSERT_NO_FATAL_FAILURE(AskAndTerminate(ID_CANCEL, kProductCaption));
    CloseWithOk();
}

TEST_F(BusyScan, CloseButtonAsksUnderDialogBoxTitle)
{
    ASSERT_NO_FATAL_FAILURE(StartScan());
    ASSERT_NO_FATAL_FAILURE(AskAndGoOn(ID_CLOSE_X, "DialogBoxTitle"));
    ASSERT_NO_FATAL_FAILURE(AskAndTerminate(ID_CLOSE_X, "DialogBoxTitle"));
    CloseWithOk();
}

}  // namespace
}  // namespace gui
