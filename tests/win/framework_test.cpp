// Message routing of the dialog framework, on dialogs built in memory.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/gdi.h"
#include "dialog_template_builder.h"
#include "framework/button.h"
#include "framework/dialog.h"
#include "framework/static.h"
#include "framework/subclassed_control.h"

namespace {

constexpr int kPushId = 101;
constexpr int kDrawnId = 102;
constexpr int kLabelId = 103;
constexpr int kPlainLabelId = 104;
constexpr UINT kAnswerMessage = WM_APP + 1;
constexpr UINT kThrowMessage = WM_APP + 2;
constexpr UINT kClickLater = WM_APP + 3;

DialogTemplateBuilder TestTemplate(short x = 0, short y = 0)
{
    DialogTemplateBuilder t(WS_POPUP | WS_BORDER, {x, y, 200, 100}, "Framework test");
    t.Add(kButtonClass, kPushId, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, "Push", {10, 10, 50, 14});
    t.Add(kButtonClass, kDrawnId, WS_VISIBLE | BS_OWNERDRAW, 0, "Drawn", {70, 10, 50, 14});
    t.Add(kStaticClass, kLabelId, WS_VISIBLE | SS_LEFT, 0, "Label", {10, 40, 80, 10});
    t.Add(kStaticClass, kPlainLabelId, WS_VISIBLE | SS_LEFT, 0, "Plain", {10, 60, 80, 10});
    return t;
}

// An owner-drawn button that draws itself and counts mouse and focus messages.
class DrawnButton : public SubclassedControl<Button> {
public:
    int draws = 0;
    int focusGained = 0;
    POINT lastMove{-1, -1};

protected:
    const MessageTable& Messages() const override
    {
        static const MessageEntry entries[] = {
            OnReflectedDrawItem<&DrawnButton::Draw>(),
            OnMouse<&DrawnButton::MouseMove>(WM_MOUSEMOVE),
            OnFocus<&DrawnButton::FocusGained>(WM_SETFOCUS),
        };
        static const MessageTable table = MakeMessageTable(entries);
        return table;
    }

private:
    void Draw(const DRAWITEMSTRUCT& item)
    {
        if (item.CtlID == kDrawnId) ++draws;
    }
    void MouseMove(UINT, POINT point) { lastMove = point; }
    void FocusGained(HWND)
    {
        Default();
        ++focusGained;
    }
};

// A label that picks its own colours, and checks that Default() inside a handler that sends nested messages
// still processes the outer message.
class ColourLabel : public SubclassedControl<Static> {
public:
    Brush brush{CreateSolidBrush(RGB(1, 2, 3))};

protected:
    const MessageTable& Messages() const override
    {
        static const MessageEntry entries[] = {
            OnReflectedCtlColor<&ColourLabel::Colour>(),
            OnMessage<&ColourLabel::TextChanging>(WM_SETTEXT),
        };
        static const MessageTable table = MakeMessageTable(entries);
        return table;
    }

private:
    HBRUSH Colour(HDC, HWND, UINT) { return brush.Get(); }
    LRESULT TextChanging(WPARAM, LPARAM)
    {
        Send(WM_GETTEXTLENGTH);  // a nested message through the same table
        return Default();
    }
};

class TestDialog : public Dialog {
public:
    explicit TestDialog(const DLGTEMPLATE* t) : Dialog(DialogTemplate::FromMemory(t)) {}

    Button push;
    DrawnButton drawn;
    ColourLabel label;
    Static plainLabel;
    Brush dialogBrush{CreateSolidBrush(RGB(4, 5, 6))};
    int pushes = 0;
    int cancels = 0;
    int oks = 0;
    UINT_PTR lastTimer = 0;
    UINT lastColourMessage = 0;
    bool keepPosition = false;
    bool clickDuringInit = false;
    bool endAfterClick = false;

protected:
    void BindControls() override
    {
        Bind(push, kPushId);
        Bind(drawn, kDrawnId);
        Bind(label, kLabelId);
        Bind(plainLabel, kPlainLabelId);
    }
    bool OnInitDialog() override
    {
        Dialog::OnInitDialog();
        if (keepPosition) KeepPositionAfterInit();
        if (clickDuringInit) push.Click();
        return true;
    }
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
    const MessageTable& Messages() const override
    {
        static const MessageEntry entries[] = {
            OnCommand<&TestDialog::Pushed>(kPushId),
            OnMessage<&TestDialog::Answer>(kAnswerMessage),
            OnMessage<&TestDialog::Throw>(kThrowMessage),
            OnMessage<&TestDialog::ClickLater>(kClickLater),
            OnTimer<&TestDialog::Tick>(),
            OnCtlColor<&TestDialog::Colour>(),
        };
        static const MessageTable table = MakeMessageTable(entries);
        return table;
    }

private:
    void Pushed()
    {
        ++pushes;
        if (endAfterClick) End(42);
    }
    LRESULT Answer(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
    LRESULT Throw(WPARAM, LPARAM) { throw std::runtime_error("handler failure"); }
    LRESULT ClickLater(WPARAM, LPARAM)
    {
        push.Click();
        return 0;
    }
    void Tick(UINT_PTR id) { lastTimer = id; }
    HBRUSH Colour(HDC, HWND, UINT message)
    {
        lastColourMessage = message;
        return dialogBrush.Get();
    }
};

class FrameworkTest : public ::testing::Test {
protected:
    DialogTemplateBuilder layout = TestTemplate();
    TestDialog dialog{layout.Get()};

    void SetUp() override { ASSERT_TRUE(dialog.Create()); }
};

TEST_F(FrameworkTest, BindsTemplateControlsAndSubclassesOnlyTheObjectControls)
{
    EXPECT_EQ(kPushId, dialog.push.Id());
    EXPECT_EQ(kDrawnId, dialog.drawn.Id());
    EXPECT_EQ(&dialog.drawn, ControlSubclass::FromWindow(dialog.drawn.Handle()));
    EXPECT_EQ(&dialog.label, ControlSubclass::FromWindow(dialog.label.Handle()));
    EXPECT_EQ(nullptr, ControlSubclass::FromWindow(dialog.push.Handle()));
    EXPECT_TRUE(dialog.IsInitialised());
}

TEST_F(FrameworkTest, CommandsReachTheirHandlersAndOkCancelTheVirtuals)
{
    dialog.push.Click();
    EXPECT_EQ(1, dialog.pushes);
    dialog.Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    dialog.Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    EXPECT_EQ(1, dialog.oks);
    EXPECT_EQ(1, dialog.cancels);
    // Other notification codes of a control are not clicks.
    dialog.Send(WM_COMMAND, MAKEWPARAM(kPushId, BN_SETFOCUS), reinterpret_cast<LPARAM>(dialog.push.Handle()));
    EXPECT_EQ(1, dialog.pushes);
}

TEST_F(FrameworkTest, CloseFromTheWindowMenuArrivesAsCancel)
{
    dialog.Send(WM_CLOSE);
    // DefDlgProc may post the IDCANCEL command; take what is queued for the dialog.
    MSG msg;
    while (PeekMessageA(&msg, dialog.Handle(), 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(1, dialog.cancels);
}

TEST_F(FrameworkTest, HandlerResultsFollowTheDialogReturnRule)
{
    // Through DWLP_MSGRESULT for an ordinary message...
    EXPECT_EQ(1234, dialog.Send(kAnswerMessage, 1000, 234));
    // ...returned directly for WM_CTLCOLOR*.
    ClientDC dc(dialog.plainLabel.Handle());
    LRESULT brush = dialog.Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                                reinterpret_cast<LPARAM>(dialog.plainLabel.Handle()));
    EXPECT_EQ(reinterpret_cast<LRESULT>(dialog.dialogBrush.Get()), brush);
    EXPECT_EQ(static_cast<UINT>(WM_CTLCOLORSTATIC), dialog.lastColourMessage);
}

TEST_F(FrameworkTest, ControlColoursAndDrawingAreReflectedToTheControlClass)
{
    ClientDC dc(dialog.label.Handle());
    LRESULT brush = dialog.Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                                reinterpret_cast<LPARAM>(dialog.label.Handle()));
    EXPECT_EQ(reinterpret_cast<LRESULT>(dialog.label.brush.Get()), brush);
    EXPECT_EQ(0u, dialog.lastColourMessage) << "the dialog's own handler must not run for a reflected colour";

    dialog.Show(true);
    dialog.drawn.Invalidate();
    UpdateWindow(dialog.drawn.Handle());
    EXPECT_GE(dialog.drawn.draws, 1) << "a real WM_DRAWITEM reaches the button's class";
}

TEST_F(FrameworkTest, TimerMouseAndFocusHandlersGetTypedArguments)
{
    dialog.Send(WM_TIMER, 100);
    EXPECT_EQ(100u, dialog.lastTimer);
    dialog.drawn.Send(WM_MOUSEMOVE, 0, MAKELPARAM(7, 9));
    EXPECT_EQ(7, dialog.drawn.lastMove.x);
    EXPECT_EQ(9, dialog.drawn.lastMove.y);
    dialog.Show(true);
    SetForegroundWindow(dialog.Handle());
    SetFocus(dialog.drawn.Handle());
    EXPECT_EQ(1, dialog.drawn.focusGained);
    EXPECT_EQ(dialog.drawn.Handle(), GetFocus()) << "Default() ran the button's own focus handling";
}

TEST_F(FrameworkTest, DefaultProcessingAppliesToTheOuterMessageAfterNestedOnes)
{
    EXPECT_TRUE(dialog.label.SetText("Changed"));
    char text[32] = {};
    dialog.label.GetText(text, sizeof text);
    EXPECT_STREQ("Changed", text);
}

TEST_F(FrameworkTest, AnExceptionInAHandlerDoesNotLeaveTheDialogProcedure)
{
    EXPECT_EQ(0, dialog.Send(kThrowMessage));
    EXPECT_EQ(1234, dialog.Send(kAnswerMessage, 1000, 234)) << "the dialog keeps working";
}

TEST_F(FrameworkTest, DestroyingTheWindowUnhooksItsControls)
{
    HWND drawn = dialog.drawn.Handle();
    DestroyWindow(dialog.Handle());
    EXPECT_EQ(nullptr, dialog.Handle());
    EXPECT_FALSE(IsWindow(drawn));
    EXPECT_EQ(nullptr, ControlSubclass::FromWindow(drawn));
}

TEST(FrameworkDialog, CommandsSentDuringInitialisationAreIgnored)
{
    DialogTemplateBuilder layout = TestTemplate();
    TestDialog dialog(layout.Get());
    dialog.clickDuringInit = true;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(0, dialog.pushes);
}

// Posts itself a click from its initialisation, so the click is handled inside the modal loop.
class SelfClickingDialog : public TestDialog {
public:
    using TestDialog::TestDialog;

protected:
    bool OnInitDialog() override
    {
        TestDialog::OnInitDialog();
        Post(kClickLater);
        return true;
    }
};

TEST(FrameworkDialog, ModalRunEndsWithTheCodeGivenToEnd)
{
    DialogTemplateBuilder layout = TestTemplate();
    SelfClickingDialog dialog(layout.Get());
    dialog.endAfterClick = true;
    EXPECT_EQ(42, dialog.DoModal());
    EXPECT_EQ(1, dialog.pushes);
    EXPECT_EQ(nullptr, dialog.Handle()) << "the window is gone when DoModal returns";
}

TEST(FrameworkDialog, IsCentredAfterInitialisationUnlessItKeepsItsPosition)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    DialogTemplateBuilder layout = TestTemplate();

    TestDialog centred(layout.Get());
    ASSERT_TRUE(centred.Create());
    RECT r = centred.ScreenRect();
    EXPECT_NEAR((work.left + work.right) / 2, (r.left + r.right) / 2, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, (r.top + r.bottom) / 2, 1);

    TestDialog kept(layout.Get());
    kept.keepPosition = true;
    ASSERT_TRUE(kept.Create());
    r = kept.ScreenRect();
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
}

TEST(FrameworkGdi, OwnersDeleteTheirObjectAndMovesTransferIt)
{
    Font first(static_cast<HFONT>(CreateFontA(12, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial")));
    HFONT handle = first.Get();
    ASSERT_NE(nullptr, handle);
    Font second(std::move(first));
    EXPECT_EQ(nullptr, first.Get());
    EXPECT_EQ(handle, second.Get());
    second.Reset();
    EXPECT_EQ(0u, GetObjectType(handle)) << "the font was deleted";

    Region region(CreateRectRgn(0, 0, 5, 5));
    HRGN given = region.Release();
    EXPECT_EQ(nullptr, region.Get());
    EXPECT_EQ(static_cast<DWORD>(OBJ_REGION), GetObjectType(given)) << "a released region stays alive";
    DeleteObject(given);
}

}  // namespace
