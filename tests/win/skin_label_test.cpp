// The family label painting itself on a dialog built in memory, read back from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/main_scan_dialog.h"
#include "dialog_template_builder.h"
#include "framework/dialog.h"
#include "skin_test_support.h"
#include "ui/ex_label_win.h"

namespace {

constexpr int kLabelId = 1068;
const COLORREF kBandBlue = RGB(2, 77, 246);
const COLORREF kWhite = RGB(255, 255, 255);

const DLGTEMPLATE* LabelTemplate()
{
    static const DialogTemplateBuilder bench = [] {
        DialogTemplateBuilder t(WS_POPUP | WS_VISIBLE, {0, 0, 260, 60}, "Label bench");
        t.Add(kStaticClass, kLabelId, WS_VISIBLE | SS_CENTER | WS_GROUP, 0, "Family", {10, 10, 200, 30});
        return t;
    }();
    return bench.Get();
}

class LabelBench : public Dialog {
public:
    LabelBench() : Dialog(DialogTemplate::FromMemory(LabelTemplate())) {}
    CExLabel label;

protected:
    void BindControls() override { Bind(label, kLabelId); }
};

// Where the label's text colours lie: the rows and columns holding the band's blue.
struct Ink {
    int top = -1, bottom = -1, left = -1, right = -1;
    bool white = false;
};

class SkinLabel : public testing::Test {
protected:
    void SetUp() override
    {
        LabelFont.Reset(CreateFontA(15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
        ASSERT_TRUE(bench.Create());
    }
    void TearDown() override { LabelFont.Reset(); }

    Picture Shown(const std::string& text)
    {
        bench.label.SetText(text.c_str());
        RedrawWindow(bench.label.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return CaptureClient(bench.label.Handle());
    }

    static Ink InkOf(const Picture& p)
    {
        Ink ink;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                if (p.At(x, y) == kWhite) ink.white = true;
                if (p.At(x, y) != kBandBlue) continue;
                if (ink.top < 0) ink.top = y;
                ink.bottom = y;
                if (ink.left < 0 || x < ink.left) ink.left = x;
                if (x > ink.right) ink.right = x;
            }
        return ink;
    }

    LabelBench bench;
};

}  // namespace

TEST_F(SkinLabel, TextIsWhiteOnBlueCentredAtTheTop)
{
    Picture shown = Shown("for W32/StartPage Trojan ");
    Ink ink = InkOf(shown);
    ASSERT_GE(ink.top, 0) << "no blue text background drawn";
    EXPECT_TRUE(ink.white);
    EXPECT_EQ(0, ink.top);
    EXPECT_LT(ink.bottom, 20) << "one line at the top, not centred vertically";
    EXPECT_NEAR(shown.width - 1 - ink.right, ink.left, 2) << "centred horizontally";
}

TEST_F(SkinLabel, EmptyTextPaintsNothing)
{
    Ink ink = InkOf(Shown(""));
    EXPECT_LT(ink.top, 0);
    EXPECT_FALSE(ink.white);
}

TEST_F(SkinLabel, TextWiderThanTheLabelIsClippedNotWrapped)
{
    Picture shown =
        Shown(std::string(12, ' ') + "a very long family line that cannot possibly fit in the label at all");
    Ink ink = InkOf(shown);
    EXPECT_EQ(0, ink.left);
    EXPECT_EQ(shown.width - 1, ink.right);
    EXPECT_LT(ink.bottom, 20);
}
