// The skinned message box run modally from template 142, worked from inside its modal loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/main_scan_dialog.h"
#include "resources/resource_ids.h"
#include "skin_box_driver.h"
#include "skin_test_support.h"

namespace {

constexpr int kButtonIds[] = {IDC_SINGLE_OK, IDOK, IDCANCEL, IDYES, IDNO};

struct BoxView {
    bool visible[5] = {};
    SIZE buttonSize[5] = {};
    RECT buttonRect[5] = {};  // client coordinates
    int focusId = 0;
    std::string title;
    RECT window{};
    RECT icon{};   // client coordinates
    RECT label{};  // client coordinates
    bool ownerDisabled = false;
};

RECT ClientRectOf(HWND box, HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

BoxView Look(HWND box)
{
    BoxView view;
    for (int i = 0; i < 5; ++i) {
        HWND button = GetDlgItem(box, kButtonIds[i]);
        view.visible[i] = IsWindowVisible(button) != FALSE;
        view.buttonSize[i] = SizeOf(button);
        view.buttonRect[i] = ClientRectOf(box, button);
    }
    view.focusId = GetDlgCtrlID(GetFocus());
    char title[64] = {};
    GetWindowTextA(box, title, sizeof title);
    view.title = title;
    GetWindowRect(box, &view.window);
    view.icon = ClientRectOf(box, GetDlgItem(box, IDC_BOX_ICON));
    view.label = ClientRectOf(box, GetDlgItem(box, IDC_BOX_MESSAGE));
    HWND owner = GetWindow(box, GW_OWNER);
    view.ownerDisabled = owner && !IsWindowEnabled(owner);
    return view;
}

// Looks at the box, then ends it with Escape.
BoxView LookAtBox(const char* text, const char* caption, unsigned int style)
{
    BoxView view;
    RunSkinBox(text, caption, style, [&](HWND box) {
        view = Look(box);
        PressKey(box, VK_ESCAPE);
    });
    return view;
}

}  // namespace

TEST(SkinMessageBoxTest, EveryButtonAndKeyGivesItsResultCode)
{
    struct Case {
        unsigned int style;
        const char* what;
        std::function<void(HWND)> act;
        int result;
    } const cases[] = {
        {0x24, "YES", [](HWND b) { ClickButton(b, IDYES); }, IDYES},
        {0x24, "NO", [](HWND b) { ClickButton(b, IDNO); }, IDNO},
        {0x24, "Escape", [](HWND b) { PressKey(b, VK_ESCAPE); }, IDNO},
        {0x24, "close", CloseFromTitleBar, IDNO},
        {0x24, "Enter", [](HWND b) { PressKey(b, VK_RETURN); }, IDOK},
        {0x41, "OK", [](HWND b) { ClickButton(b, IDOK); }, IDOK},
        {0x41, "Cancel", [](HWND b) { ClickButton(b, IDCANCEL); }, IDCANCEL},
        {0x41, "Escape", [](HWND b) { PressKey(b, VK_ESCAPE); }, IDCANCEL},
        {0x41, "close", CloseFromTitleBar, IDCANCEL},
        {0x41, "Enter", [](HWND b) { PressKey(b, VK_RETURN); }, IDOK},
        {0x00, "single OK", [](HWND b) { ClickButton(b, IDC_SINGLE_OK); }, IDOK},
        {0x00, "Escape", [](HWND b) { PressKey(b, VK_ESCAPE); }, IDCANCEL},
        {0x00, "Enter", [](HWND b) { PressKey(b, VK_RETURN); }, IDOK},
        {0x03, "Cancel", [](HWND b) { ClickButton(b, IDCANCEL); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style << ", " << c.what);
        EXPECT_EQ(c.result, RunSkinBox("Terminate the Scan now?", "", c.style, c.act));
    }
}

TEST(SkinMessageBoxTest, StyleShowsItsButtonsAt92By24OnOneRowWithTheFirstFocused)
{
    struct Case {
        unsigned int style;
        bool visible[5];  // single OK, OK, Cancel, YES, NO
        int focusId;
    } const cases[] = {
        {0x24, {false, false, false, true, true}, IDYES},          {0x41, {false, true, true, false, false}, IDOK},
        {0x00, {true, false, false, false, false}, IDC_SINGLE_OK}, {0x03, {false, true, true, false, false}, IDOK},
        {0x05, {false, true, true, false, false}, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style);
        BoxView view = LookAtBox("Terminate the Scan now?", "", c.style);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(c.visible[i], view.visible[i]) << "button " << kButtonIds[i];
            EXPECT_EQ(92, view.buttonSize[i].cx) << "button " << kButtonIds[i];
            EXPECT_EQ(24, view.buttonSize[i].cy) << "button " << kButtonIds[i];
            EXPECT_EQ(view.buttonRect[0].top, view.buttonRect[i].top) << "button " << kButtonIds[i];
        }
        EXPECT_EQ(c.focusId, view.focusId);
    }
}

TEST(SkinMessageBoxTest, ButtonRowSits65PixelsAboveTheBottomEdge)
{
    // Client positions come from outer-window measurements: the row is 65 pixels above the outer height.
    BoxView view = LookAtBox("Terminate the Scan now?", "", 0x24);
    EXPECT_EQ(view.window.bottom - view.window.top - 65, view.buttonRect[3].top);
}

TEST(SkinMessageBoxTest, EmptyOrMissingCaptionGivesTheProductCaption)
{
    EXPECT_EQ("Vexilor Ver 1.0", LookAtBox("text", "", 0x24).title);
    EXPECT_EQ("Vexilor Ver 1.0", LookAtBox("text", nullptr, 0x24).title);
    EXPECT_EQ("DialogBoxTitle", LookAtBox("text", "DialogBoxTitle", 0x24).title);
}

TEST(SkinMessageBoxTest, BoxGrowsWithTheTextAndLongTextsLiftTheIcon)
{
    BoxView short23 = LookAtBox(std::string(23, 'a').c_str(), "", 0);
    BoxView long95 = LookAtBox(std::string(95, 'a').c_str(), "", 0);
    EXPECT_EQ(50 - 12, (long95.window.right - long95.window.left) - (short23.window.right - short23.window.left));
    EXPECT_EQ(28 - 7, (long95.window.bottom - long95.window.top) - (short23.window.bottom - short23.window.top));
    EXPECT_EQ(50 - 12, (long95.label.right - long95.label.left) - (short23.label.right - short23.label.left));
    EXPECT_EQ(28 - 7, (long95.label.bottom - long95.label.top) - (short23.label.bottom - short23.label.top));

    BoxView at89 = LookAtBox(std::string(89, 'a').c_str(), "", 0);
    BoxView at90 = LookAtBox(std::string(90, 'a').c_str(), "", 0);
    // The lifted row is 30 pixels above the label's measured top, which is 25 above where the label lands.
    EXPECT_EQ(short23.icon.top, at89.icon.top);
    EXPECT_EQ(at90.label.top + 25 - 30, at90.icon.top);
    EXPECT_EQ(at90.icon.top, long95.icon.top);
    EXPECT_EQ(short23.icon.bottom - short23.icon.top, long95.icon.bottom - long95.icon.top);
}

TEST(SkinMessageBoxTest, LargeFontsMakeTheLabel25PixelsTaller)
{
    BoxView normal = LookAtBox("Terminate the Scan now?", "", 0x24);
    int saved = LargeFonts;
    LargeFonts = 1;
    BoxView large = LookAtBox("Terminate the Scan now?", "", 0x24);
    LargeFonts = saved;
    EXPECT_EQ(25, (large.label.bottom - large.label.top) - (normal.label.bottom - normal.label.top));
}

TEST(SkinMessageBoxTest, CentresOnTheMainWindowWhichIsDisabledMeanwhile)
{
    HWND main = CreateWindowExA(0, "STATIC", "main", WS_POPUP | WS_VISIBLE, 100, 60, 600, 462, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(nullptr, main);
    HWND saved = TheMainDialog;
    TheMainDialog = main;
    BoxView view = LookAtBox("Terminate the Scan now?", "", 0x24);
    TheMainDialog = saved;
    EXPECT_TRUE(view.ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_NEAR(100 + 300, (view.window.left + view.window.right) / 2, 1);
    EXPECT_NEAR(60 + 231, (view.window.top + view.window.bottom) / 2, 1);
    DestroyWindow(main);

    BoxView alone = LookAtBox("Terminate the Scan now?", "", 0x24);
    EXPECT_EQ(0, alone.window.left);
    EXPECT_EQ(0, alone.window.top);
}

TEST(SkinMessageBoxTest, PaintsTheStyleIconOnThePanel)
{
    struct Case {
        unsigned int style;
        int icon;
    } const cases[] = {{0x24, IDB_QUESTION}, {0x41, IDB_INFORMATION}, {0x30, IDB_WARNING}, {0x10, IDB_ERROR}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style);
        Picture shown, label;
        RunSkinBox("Terminate the Scan now?", "", c.style, [&](HWND box) {
            UpdateWindow(box);
            shown = CaptureClient(GetDlgItem(box, IDC_BOX_ICON));
            label = CaptureClient(GetDlgItem(box, IDC_BOX_MESSAGE));
            PressKey(box, VK_ESCAPE);
        });
        Picture icon = PictureOfResource(MAKEINTRESOURCEA(c.icon));
        ASSERT_GT(shown.width, 0);
        int mismatches = 0;
        for (int y = 0; y < shown.height && y < icon.height; ++y)
            for (int x = 0; x < shown.width && x < icon.width; ++x) mismatches += shown.At(x, y) != icon.At(x, y);
        EXPECT_EQ(0, mismatches);
        EXPECT_EQ(RGB(207, 233, 254), label.At(label.width - 1, label.height - 1));
    }
}
