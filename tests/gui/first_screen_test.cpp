// The program as it starts: Escape before a scan ends it, Enter does nothing, and a second start leaves the first
// window alone. What the first screen shows is checked on the window in the Windows suite.
#include <windows.h>

#include "tests/gui/main_window_fixture.h"

namespace gui {
namespace {

using StartUp = MainWindowTest;

TEST_F(StartUp, EscapeBeforeScanEndsTheProgram)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    PressKey(main_, VK_ESCAPE);
    EXPECT_TRUE(program_->WaitForExit(kReplyTimeoutMs));
}

TEST_F(StartUp, EnterDoesNothing)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    PressKey(main_, VK_RETURN);
    PressKey(Item(ID_SCAN), VK_RETURN);
    ASSERT_TRUE(Flush(main_));
    EXPECT_TRUE(program_->Running());
    ExpectEnabled({ID_SCAN}, true);
    ExpectVisible({ID_RESULTS, ID_CANCEL, ID_OK}, false);
    EXPECT_EQ(nullptr, program_->FindWindowTitled(kProductCaption, main_, 0));
    Screenshot(main_, "ready");
}

TEST_F(StartUp, SecondStartEndsAtOnceAndLeavesTheFirstWindowAlone)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    const RECT before = WindowRect(main_);
    const std::string description = ItemText(ID_DESCRIPTION);
    Program second;
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitForExit(kWindowTimeoutMs)) << "the second copy keeps running";
    EXPECT_TRUE(program_->Running());
    EXPECT_EQ(1, CountTopLevelWindows(kProductCaption));
    const RECT after = WindowRect(main_);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_TRUE(Visible(main_));
    EXPECT_FALSE(IsIconic(main_));
    EXPECT_EQ(description, ItemText(ID_DESCRIPTION));
    ExpectEnabled({ID_SCAN}, true);
}

}  // namespace
}  // namespace gui
