// The program as it starts: Escape before a scan ends it, Enter does nothing, and a second start leaves the first
// window alone. What the first screen shows is checked on the window in the Windows suite.
#include <windows.h>

#include "tests/gui/main_window_fixture.h"

namespace gui {
namespace {

using StartUp = MainWindowTest;

TEST_F(StartUp, EscapeBeforeScanEndsTheProgram) {
    ASSERT_NO_FATAL_FAILURE(Start());
    PressKey(main, VK_ESCAPE);
    EXPECT_TRUE(program->WaitForExit(kReplyTimeoutMs));
}

TEST_F(StartUp, EnterDoesNothing) {
    ASSERT_NO_FATAL_FAILURE(Start());
    PressKey(main, VK_RETURN);
    PressKey(Item(ID_SCAN), VK_RETURN);
    ASSERT_TRUE(Flush(main));
    EXPECT_TRUE(program->Running());
    ExpectEnabled({ID_SCAN}, true);
    ExpectVisible({ID_RESULTS, ID_CANCEL, ID_OK}, false);
    EXPECT_EQ(nullptr, program->FindWindowTitled(kProductCaption, main, 0));
    Screenshot(main, "ready");
}

TEST_F(StartUp, SecondStartEndsAtOnceAndLeavesTheFirstWindowAlone) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const RECT before = WindowRect(main);
    const std::string description = ItemText(ID_DESCRIPTION);
    Program second;
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitForExit(kWindowTimeoutMs)) << "the second copy keeps running";
    EXPECT_TRUE(program->Running());
    EXPECT_EQ(1, CountTopLevelWindows(kProductCaption));
    const RECT after = WindowRect(main);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_TRUE(Visible(main));
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(description, ItemText(ID_DESCRIPTION));
    ExpectEnabled({ID_SCAN}, true);
}

}  // namespace
}  // namespace gui
