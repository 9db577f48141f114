// The window as it first appears: texts, which controls show, size, place and shape; the installed-product
// variant; the single-instance rule; Escape before a scan.
#include <windows.h>

#include "tests/gui/main_window_fixture.h"

namespace gui {
namespace {

const char kDescription[] =
    "Vexilor Ver 1.0 - Tool to detect and remove all the variants of W32/StartPage Trojan ";
const char kFamilyLine[] = "for W32/StartPage Trojan ";
const char kInstalledNote[] = "This program is a part of Halvane antivirus software.";
const char kInstalledKey[] = "Software\\Tarnwick\\Halvane 2000";

using FirstScreen = MainWindowTest;

TEST_F(FirstScreen, NamesTheToolAndTheFamilyAndOffersScan) {
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(kProductCaption, Text(main));
    EXPECT_EQ(kDescription, ItemText(ID_DESCRIPTION));
    EXPECT_EQ(kFamilyLine, ItemText(ID_FAMILY));
    EXPECT_FALSE(ItemText(ID_COPYRIGHT).empty());

    ExpectVisible({ID_SCAN, ID_DOWNLOAD, ID_PRODUCT_BANNER, ID_TOOLS_BANNER, ID_DESCRIPTION, ID_COPYRIGHT,
                   ID_FAMILY, ID_CLOSE_X, ID_LOGO}, true);
    ExpectEnabled({ID_SCAN, ID_DOWNLOAD, ID_PRODUCT_BANNER, ID_TOOLS_BANNER}, true);
    ExpectVisible({ID_INSTALLED_NOTE, ID_STATUS, ID_STATUS_FRAME, ID_SEARCHING_FOR, ID_RESULTS, ID_RESULTS_FRAME,
                   ID_CANCEL, ID_OK}, false);
    ExpectEnabled({ID_OK}, false);
    Screenshot(main, "ready");
}

TEST_F(FirstScreen, StandsCentredAt600By462WithTheBackgroundsOutline) {
    ASSERT_NO_FATAL_FAILURE(Start());
    RECT r = WindowRect(main);
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(462, r.bottom - r.top);
    EXPECT_NEAR((GetSystemMetrics(SM_CXSCREEN) - 600) / 2, r.left, 1);
    EXPECT_NEAR((GetSystemMetrics(SM_CYSCREEN) - 462) / 2, r.top, 1);

    // The region follows the 527 x 338 background picture where it is painted, at the client origin inside
    // the one-pixel border, not the window's rectangle.
    RECT box{};
    ASSERT_TRUE(RegionBox(main, &box));
    EXPECT_EQ(1, box.left);
    EXPECT_EQ(1, box.top);
    EXPECT_EQ(528, box.right);
    EXPECT_EQ(339, box.bottom);

    // Buttons take the size of their pictures, whatever the template said.
    RECT scan = WindowRect(Item(ID_SCAN)), x = WindowRect(Item(ID_CLOSE_X));
    EXPECT_EQ(180, scan.right - scan.left);
    EXPECT_EQ(33, scan.bottom - scan.top);
    EXPECT_EQ(21, x.right - x.left);
    EXPECT_EQ(21, x.bottom - x.top);
}

// Marks the maker's antivirus product as installed for as long as it lives.
class InstalledProduct {
public:
    InstalledProduct() {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kInstalledKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        const char folder[] = "C:\\Program Files\\Halvane";
        ok_ = RegSetValueExA(key, "Installed Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                             sizeof folder) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    ~InstalledProduct() {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kInstalledKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Tarnwick");
    }
    bool Ok() const { return ok_; }

private:
    bool ok_ = false;
};

TEST_F(FirstScreen, InstalledProductShowsTheNoteAndDisablesDownload) {
    InstalledProduct installed;
    ASSERT_TRUE(installed.Ok());
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(kInstalledNote, ItemText(ID_INSTALLED_NOTE));
    ExpectVisible({ID_INSTALLED_NOTE, ID_DOWNLOAD, ID_SCAN, ID_TOOLS_BANNER, ID_DESCRIPTION}, true);
    ExpectEnabled({ID_DOWNLOAD, ID_PRODUCT_BANNER}, false);
    ExpectVisible({ID_PRODUCT_BANNER}, false);
    Screenshot(main, "ready-installed");
}

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
}

TEST_F(StartUp, SecondStartEndsAtOnceAndLeavesTheFirstWindowAlone) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const RECT before = WindowRect(main);
    Program second;
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitForExit(kWindowTimeoutMs)) << "the second copy keeps running";
    EXPECT_TRUE(program->Running());
    EXPECT_EQ(1, CountTopLevelWindows(kProductCaption));
    const RECT after = WindowRect(main);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_TRUE(Visible(main));
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(kDescription, ItemText(ID_DESCRIPTION));
    ExpectEnabled({ID_SCAN}, true);
}

}  // namespace
}  // namespace gui
