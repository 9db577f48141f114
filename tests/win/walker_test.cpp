// The walker over real folders on drive C: of the sandbox prefix.
#include <windows.h>

#include <algorithm>

#include "base/scan_state.h"
#include "engine/walker.h"
#include "engine_fixture.h"

namespace {

int IndexOf(const std::vector<std::string>& lines, const std::string& line)
{
    auto found = std::find(lines.begin(), lines.end(), line);
    return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
}

}  // namespace

using WalkerTest = EngineTest;

TEST_F(WalkerTest, FilesOfAFolderComeBeforeItsSubfoldersAndDotsAreShownNotCounted)
{
    std::string root = ScratchFolder("order");
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub.dir.v2").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub.dir.v2\\deeper").c_str(), nullptr));
    WriteFile(root + "\\a.txt", "plain text");
    WriteFile(root + "\\z.bin", std::string(100, '\0'));
    WriteFile(root + "\\sub.dir.v2\\inner.txt", "x");
    WriteFile(root + "\\sub.dir.v2\\deeper\\deepest", "y");

    EXPECT_EQ(4, WalkDirectory((root + "\\*.*").c_str()));
    EXPECT_EQ(4, Scan.filesScanned);
    EXPECT_TRUE(recorder_->results.empty());

    const auto& shown = recorder_->statuses;
    int a = IndexOf(shown, root + "\\a.txt");
    int z = IndexOf(shown, root + "\\z.bin");
    int folder = IndexOf(shown, root + "\\sub.dir.v2");
    int inner = IndexOf(shown, root + "\\sub.dir.v2\\inner.txt");
    int deepest = IndexOf(shown, root + "\\sub.dir.v2\\deeper\\deepest");
    ASSERT_GE(a, 0);
    ASSERT_GE(z, 0);
    ASSERT_GE(folder, 0);
    ASSERT_GE(inner, 0);
    ASSERT_GE(deepest, 0);
    EXPECT_LT(std::max(a, z), inner) << "files of a folder are examined before its subfolders are entered";
    EXPECT_LT(inner, deepest);
    EXPECT_GE(IndexOf(shown, root + "\\."), 0);
    EXPECT_GE(IndexOf(shown, root + "\\.."), 0);
}

TEST_F(WalkerTest, StatusLineShortensPathsLongerThanSixtyCharacters)
{
    std::string root = ScratchFolder("display");
    std::string name60(60 - root.size() - 1, 'n');
    std::string name61(61 - root.size() - 1, 'm');
    WriteFile(root + "\\" + name60, "a");
    WriteFile(root + "\\" + name61, "b");
    WalkDirectory((root + "\\*.*").c_str());

    std::string path60 = root + "\\" + name60;
    std::string path61 = root + "\\" + name61;
    ASSERT_EQ(60u, path60.size());
    EXPECT_GE(IndexOf(recorder_->statuses, path60), 0);
    std::string shortened = path61.substr(0, 29) + ".." + path61.substr(path61.size() - 29);
    EXPECT_GE(IndexOf(recorder_->statuses, shortened), 0) << shortened;
    EXPECT_EQ(-1, IndexOf(recorder_->statuses, path61));
}

TEST_F(WalkerTest, TerminateRequestStopsBeforeTheNextFile)
{
    std::string root = ScratchFolder("terminate");
    for (int i = 0; i < 20; ++i) WriteFile(root + "\\f" + std::to_string(i) + ".txt", "x");
    recorder_->RequestTerminationAfter(3);
    EXPECT_EQ(0, WalkDirectory((root + "\\*.*").c_str()));
    // The request is posted while the fourth file is shown and handled by the pump right after its check.
    EXPECT_EQ(4, Scan.filesScanned);
}

TEST_F(WalkerTest, EscapeAsksAndYesTerminatesNoGoesOn)
{
    std::string root = ScratchFolder("escape");
    for (int i = 0; i < 10; ++i) WriteFile(root + "\\f" + std::to_string(i) + ".txt", "x");
    {
        BoxAnswerer no(IDNO);
        PostMessageA(recorder_->Window(), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_EQ(10, WalkDirectory((root + "\\*.*").c_str()));
        EXPECT_TRUE(no.Answered());
        EXPECT_EQ(0, Scan.terminateRequested);
    }
    Scan.filesScanned = 0;
    {
        BoxAnswerer yes(IDYES);
        PostMessageA(recorder_->Window(), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_EQ(0, WalkDirectory((root + "\\*.*").c_str()));
        EXPECT_TRUE(yes.Answered());
        EXPECT_EQ(1, Scan.terminateRequested);
        EXPECT_EQ(0, Scan.filesScanned) << "no file is examined after the request";
    }
}

// The release of Escape reaches the walk when the box was answered with the key; it must not ask again, nor
// must the key's character or repeats, nor messages that merely carry 27 in wParam.
TEST_F(WalkerTest, OnlyAFreshPressOfEscapeAsks)
{
    std::string root = ScratchFolder("keys");
    for (int i = 0; i < 10; ++i) WriteFile(root + "\\f" + std::to_string(i) + ".txt", "x");
    BoxAnswerer yes(IDYES);
    const HWND window = recorder_->Window();
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(VK_ESCAPE, 0)) << 16;
    PostMessageA(window, WM_KEYUP, VK_ESCAPE, scanCode | 1 | 0xC0000000);
    PostMessageA(window, WM_CHAR, VK_ESCAPE, scanCode | 1);
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, scanCode | 1 | 0x40000000);  // the keyboard's repeat
    PostMessageA(window, WM_COMMAND, VK_ESCAPE, 0);
    PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_SHIFT | MK_MBUTTON, 0);  // 27 as well
    EXPECT_EQ(10, WalkDirectory((root + "\\*.*").c_str()));
    EXPECT_FALSE(yes.AnsweredSoFar()) << "a question was asked";
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE)) << "the walk takes every message";
}

TEST_F(WalkerTest, QuitOrDestroyInTheQueueTerminates)
{
    std::string root = ScratchFolder("quit");
    WriteFile(root + "\\f.txt", "x");
    for (UINT message : {WM_QUIT, WM_DESTROY}) {
        SCOPED_TRACE(message);
        Scan.terminateRequested = 0;
        if (message == WM_QUIT)
            PostQuitMessage(0);
        else
            PostMessageA(recorder_->Window(), WM_DESTROY, 0, 0);
        EXPECT_EQ(0, WalkDirectory((root + "\\*.*").c_str()));
        EXPECT_EQ(1, Scan.terminateRequested);
    }
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE)) << "the walk takes both messages";
    EXPECT_TRUE(IsWindow(recorder_->Window())) << "the message is not dispatched";
}

TEST_F(WalkerTest, PatternWithoutADotIsRefused)
{
    std::string root = ScratchFolder("nodot");
    WriteFile(root + "\\f", "x");
    EXPECT_EQ(-1, WalkDirectory((root + "\\*").c_str()));
    EXPECT_EQ(0, Scan.filesScanned);
}

TEST_F(WalkerTest, MemoryScanModeChecksOneFileWithoutCountingIt)
{
    std::string root = ScratchFolder("memory");
    WriteFile(root + "\\image.exe", "MZ not really");
    Scan.memoryScanMode = 1;
    WalkDirectory((root + "\\image.exe").c_str());
    EXPECT_EQ(0, Scan.filesScanned);
    EXPECT_GE(IndexOf(recorder_->statuses, root + "\\image.exe"), 0);
}

TEST_F(WalkerTest, EntriesWhosePathsExceedTheLimitArePassedOver)
{
    std::string root = ScratchFolder("long");
    std::string folder = root;
    // Nest until the path is near the limit, then put a file whose full path does not fit.
    while (folder.size() < 200) {
        folder += "\\dddddddddddddddddddd";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    }
    std::string name(250 - folder.size(), 'f');
    // Only the wide functions take the long form of a path beyond 260 characters.
    const std::string longForm = "\\\\?\\" + folder + "\\" + name + "xxxxxxxxxxxxxxx";
    const std::wstring wideLongForm(longForm.begin(), longForm.end());
    HANDLE file = CreateFileW(wideLongForm.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << "cannot make the over-long entry: " << GetLastError();
    CloseHandle(file);
    WriteFile(folder + "\\ok.txt", "fits");

    WalkDirectory((root + "\\*.*").c_str());
    EXPECT_EQ(1, Scan.filesScanned) << "the over-long path was counted";
    DeleteFileW(wideLongForm.c_str());  // beyond the reach of the clean-up's narrow functions
}
