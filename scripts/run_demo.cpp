// The run command's headless demo (scripts/run.sh --headless), not a test: built into the GUI driver to use its
// window handling, and disabled there so that no test run starts it. Scans whatever machine the prefix holds,
// prints the results list and asks for screenshots of the window before the scan and when it has finished,
// showing the end of the list and then its first lines. scripts/run.sh runs it as
//   vexilor_guitests.exe --gtest_also_run_disabled_tests --gtest_filter=Demo.*
#include <cstdio>

#include "tests/gui/main_window_fixture.h"

namespace gui {
namespace {

using Demo = MainWindowTest;

TEST_F(Demo, DISABLED_ScanTheMachine)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    Screenshot(main_, "demo-ready");
    Click(Item(ID_SCAN));
    ASSERT_TRUE(WaitFor(
        [&] {
            const std::string status = ItemText(ID_STATUS);
            return status == "Scanning completed" || status == "Scanning terminated" || !program_->Running();
        },
        kScanTimeoutMs));
    std::printf("\nResults list:\n");
    for (const std::string& line : Lines()) std::printf("  %s\n", line.c_str());
    std::printf("Status line: %s\n\n", ItemText(ID_STATUS).c_str());
    Screenshot(main_, "demo-finished");
    // The list ends at the statistics; its first lines hold what the memory scan and the registry cleanup did.
    SendMessageTimeoutA(Item(ID_RESULTS), LB_SETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, nullptr);
    Screenshot(main_, "demo-results");
    CloseWithOk();
}

}  // namespace
}  // namespace gui
