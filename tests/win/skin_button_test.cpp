// Skinned buttons on a dialog built in memory, with the program's button pictures.
#include <windows.h>

#include <gtest/gtest.h>

#include "dialog_template_builder.h"
#include "framework/dialog.h"
#include "skin_test_support.h"
#include "ui/ex_button_win.h"

namespace {

constexpr int kScanId = 1052, kCloseId = 1054, kCancelId = 2, kToolsId = 1080, kLogoId = 1085;
const COLORREF kPanel = RGB(207, 233, 254);
const COLORREF kUntouched = RGB(1, 2, 3);

const DLGTEMPLATE* BenchTemplate()
{
    static const DialogTemplateBuilder bench = [] {
        DialogTemplateBuilder t(WS_POPUP | WS_BORDER | WS_VISIBLE, {0, 0, 300, 140}, "Button bench");
        DWORD button = WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
        t.Add(kButtonClass, kScanId, button, 0, "SCAN", {10, 10, 76, 16});
        t.Add(kButtonClass, kCloseId, button, 0, "X", {150, 10, 10, 10});
        t.Add(kButtonClass, kCancelId, button, 0, "Cancel", {10, 40, 50, 14});
        t.Add(kButtonClass, kToolsId, button, 0, "ULINK", {10, 80, 54, 6});
        t.Add(kButtonClass, kLogoId, button, 0, "TARNWICKLOGO", {100, 40, 38, 10});
        return t;
    }();
    return bench.Get();
}

class ButtonBench : public Dialog {
public:
    ButtonBench() : Dialog(DialogTemplate::FromMemory(BenchTemplate())) {}

    CExButton scan, close, cancel, tools, logo;

protected:
    void BindControls() override
    {
        Bind(scan, kScanId);
        Bind(close, kCloseId);
        Bind(cancel, kCancelId);
        Bind(tools, kToolsId);
        Bind(logo, kLogoId);
    }
    bool OnInitDialog() override
    {
        Dialog::OnInitDialog();
        for (CExButton* b : {&scan, &close, &cancel, &tools, &logo}) b->LoadFromCaption(b->Id(), *this);
        scan.LoadHandCursor();
        return true;
    }
};

class SkinButton : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bench.Create()); }

    void MoveMouse(CExButton& button, int x, int y)
    {
        SendMessageA(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }

    bool Shows(CExButton& button, const char* resource)
    {
        return SamePicture(PictureOfResource(resource), RenderControl(button.Handle(), kUntouched));
    }

    ButtonBench bench;
};

}  // namespace

TEST_F(SkinButton, TakesTheSizeOfItsPicturesWhateverTheTemplateSaid)
{
    struct Case {
        CExButton& button;
        LONG width, height;
    } const cases[] = {{bench.scan, 180, 33},
                       {bench.close, 21, 21},
                       {bench.cancel, 92, 24},
                       {bench.tools, 350, 28},
                       {bench.logo, 100, 36}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button.Id());
        SIZE size = SizeOf(c.button.Handle());
        EXPECT_EQ(c.width, size.cx);
        EXPECT_EQ(c.height, size.cy);
    }
}

// "Cancel" finds CANCEL_FOCUS and CANCEL_NOTFOCUS.
TEST_F(SkinButton, CaptionFindsItsPicturesWithoutRegardToCase)
{
    SetFocus(bench.scan.Handle());
    EXPECT_TRUE(Shows(bench.cancel, "CANCEL_NOTFOCUS"));
    SetFocus(bench.cancel.Handle());
    EXPECT_TRUE(Shows(bench.cancel, "CANCEL_FOCUS"));
}

TEST_F(SkinButton, DisabledScanIsAPatchOfPanelAndDisabledBannerDrawsNothing)
{
    SetFocus(bench.close.Handle());
    bench.scan.Enable(false);
    bench.tools.Enable(false);
    EXPECT_TRUE(RenderControl(bench.scan.Handle(), kUntouched).AllOf(kPanel));
    EXPECT_TRUE(RenderControl(bench.tools.Handle(), kUntouched).AllOf(kUntouched));
}

TEST_F(SkinButton, HoverTakesFocusAndCaptureLeavingDropsOnlyTheHighlight)
{
    SetFocus(bench.close.Handle());
    ASSERT_TRUE(Shows(bench.scan, "SCAN_NOTFOCUS"));

    MoveMouse(bench.scan, 10, 10);
    EXPECT_EQ(bench.scan.Handle(), GetFocus());
    EXPECT_EQ(bench.scan.Handle(), GetCapture());
    EXPECT_TRUE(bench.scan.IsHighlighted());
    EXPECT_FALSE(bench.close.IsHighlighted());
    EXPECT_TRUE(Shows(bench.scan, "SCAN_FOCUS"));

    MoveMouse(bench.scan, 179, 32);  // still on the picture
    EXPECT_EQ(bench.scan.Handle(), GetCapture());
    EXPECT_TRUE(bench.scan.IsHighlighted());

    MoveMouse(bench.scan, 180, 10);  // just past its right edge
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_FALSE(bench.scan.IsHighlighted());
    EXPECT_EQ(bench.scan.Handle(), GetFocus());
    EXPECT_TRUE(Shows(bench.scan, "SCAN_NOTFOCUS"));
}

TEST_F(SkinButton, MovingOntoAnotherButtonMovesTheHighlight)
{
    MoveMouse(bench.close, 5, 5);
    ASSERT_TRUE(bench.close.IsHighlighted());
    MoveMouse(bench.close, -3, 5);
    MoveMouse(bench.scan, 10, 10);
    EXPECT_TRUE(bench.scan.IsHighlighted());
    EXPECT_FALSE(bench.close.IsHighlighted());
    EXPECT_TRUE(Shows(bench.close, "X_NOTFOCUS"));
    ReleaseCapture();
}

TEST_F(SkinButton, TabbingToAButtonShowsItsFocusPicture)
{
    SetFocus(bench.close.Handle());
    MSG tab{bench.close.Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    ASSERT_TRUE(IsDialogMessageA(bench.Handle(), &tab));
    EXPECT_EQ(bench.cancel.Handle(), GetFocus());
    EXPECT_TRUE(Shows(bench.cancel, "CANCEL_FOCUS"));
    EXPECT_TRUE(Shows(bench.close, "X_NOTFOCUS"));
}

TEST_F(SkinButton, HandPointerOnlyWhereLoaded)
{
    ASSERT_NE(nullptr, bench.scan.HandCursor());
    EXPECT_EQ(nullptr, bench.logo.HandCursor());
    LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_TRUE(
        SendMessageA(bench.scan.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(bench.scan.Handle()), overClient));
    EXPECT_EQ(bench.scan.HandCursor(), GetCursor());
    SendMessageA(bench.logo.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(bench.logo.Handle()), overClient);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)), GetCursor());  // IDC_ARROW
}

TEST(SkinButtonLoading, EmptyCaptionOrMissingChildLoadsNothing)
{
    DialogTemplateBuilder t(WS_POPUP, {0, 0, 100, 40}, "Empty");
    t.Add(kButtonClass, 7, WS_VISIBLE | BS_OWNERDRAW, 0, "", {5, 5, 20, 10});
    Dialog dialog(DialogTemplate::FromMemory(t.Get()));
    ASSERT_TRUE(dialog.Create());
    NCExButton empty, missing;
    EXPECT_FALSE(empty.LoadFromCaption(7, dialog));
    EXPECT_FALSE(missing.LoadFromCaption(8, dialog));
    EXPECT_FALSE(empty.LoadStateBitmaps("NO_SUCH_FOCUS", "NO_SUCH_NOTFOCUS", "NO_SUCH_DISABLE"));
    EXPECT_FALSE(empty.SizeToBitmap());
}
