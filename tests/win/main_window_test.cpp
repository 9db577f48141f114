// The main window on its own template 141: the first screen's texts, size and shape, the product check, the
// channel handlers and the commands. Which controls each state shows is the window's steps' business; here the
// window must show what its steps say.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/main_scan_dialog.h"
#include "base/product.h"
#include "base/progress_channel.h"
#include "base/scan_state.h"
#include "engine/walker.h"
#include "engine_fixture.h"
#include "framework/list_box.h"
#include "framework/resources.h"
#include "resources/resource_ids.h"
#include "skin_test_support.h"
#include "tests/common/control_states.h"

namespace {

const char kProductKey[] = "Software\\Tarnwick\\Halvane 2000";

void SetProductInstalled(bool installed)
{
    if (!installed) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
        return;
    }
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    const char folder[] = "C:\\Program Files\\Halvane";
    const LONG stored =
        RegSetValueExA(key, "Installed Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), sizeof folder);
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, stored);
}

class MainWindowTest : public ::testing::Test {
protected:
    MainScanDialog dialog_{DialogTemplate::FromResource(IDD_MAIN_SCAN)};
    ScanState savedScan_ = Scan;

    void Open(bool installed)
    {
        ASSERT_NO_FATAL_FAILURE(SetProductInstalled(installed));
        ASSERT_TRUE(dialog_.Create());
        SetProductInstalled(false);
    }
    void TearDown() override
    {
        KillTimer(dialog_.Handle(), ScanTimerId);
        Scan = savedScan_;
        ScanRunning = 0;
        KeepResults = 0;
    }
    HWND Item(int id) const { return GetDlgItem(dialog_.Handle(), id); }
    std::string Text(int id) const
    {
        char text[600] = {};
        GetWindowTextA(Item(id), text, sizeof text);
        return text;
    }
    // What a program reads with WM_GETTEXT, and the copy the system keeps (and the control paints from).
    std::string ReadBack(int id) const
    {
        char text[600] = {};
        SendMessageA(Item(id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::string SystemCopy(int id) const
    {
        char text[600] = {};
        DefWindowProcA(Item(id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    bool Visible(int id) const { return (GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    // Every control shows and is enabled as the steps, applied in this order, leave it.
    void ExpectStateAfter(std::initializer_list<WindowStep> steps) const
    {
        ControlStates expected;
        for (WindowStep step : steps) expected.Apply(step);
        int controls = 0;
        for (HWND child = GetWindow(dialog_.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(child);
            ++controls;
            EXPECT_EQ(expected.Shown(id), Visible(id)) << "control " << id;
            EXPECT_EQ(expected.Enabled(id), Enabled(id)) << "control " << id;
        }
        EXPECT_GT(controls, 0);
    }
};

TEST_F(MainWindowTest, FirstScreenTextsAndTitle)
{
    Open(false);
    char title[64] = {};
    GetWindowTextA(dialog_.Handle(), title, sizeof title);
    EXPECT_STREQ("Vexilor Ver 1.0", title);
    EXPECT_EQ("Vexilor Ver 1.0 - Tool to detect and remove all the variants of W32/StartPage Trojan ",
              Text(IDC_DESCRIPTION));
    EXPECT_EQ("for W32/StartPage Trojan ", Text(IDC_FAMILY_LABEL));
    EXPECT_EQ("This program is a part of Halvane antivirus software.", Text(IDC_INSTALLED_NOTE));
    EXPECT_FALSE(Text(IDC_COPYRIGHT).empty());
    EXPECT_EQ(dialog_.Handle(), TheMainDialog);
    EXPECT_TRUE(LabelFont) << "the family label's bold font exists";
}

TEST_F(MainWindowTest, FirstScreenIsReadyWithTheProductOffersWhenTheProductIsMissing)
{
    Open(false);
    ExpectStateAfter({WindowStep::Ready, WindowStep::ProductNotInstalled});
}

TEST_F(MainWindowTest, FirstScreenIsReadyWithTheInstalledNoteWhenTheProductIsThere)
{
    Open(true);
    ExpectStateAfter({WindowStep::Ready, WindowStep::ProductInstalled});
}

TEST_F(MainWindowTest, WindowIs600By462CentredAndShapedByItsPicture)
{
    Open(false);
    RECT r = dialog_.ScreenRect();
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(462, r.bottom - r.top);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((work.left + work.right) / 2, (r.left + r.right) / 2, 1);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, GetWindowRgn(dialog_.Handle(), region)) << "bitmap 156 gives the window its outline";
    // The outline lies on the picture as painted, at the client origin: no magenta pixel is inside the window
    // and no pixel of the picture proper is cut away.
    POINT origin = {0, 0};
    ClientToScreen(dialog_.Handle(), &origin);
    const Picture picture = PictureOfResource(MAKEINTRESOURCEA(IDB_BACKGROUND));
    int wrong = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            wrong += (PtInRegion(region, origin.x - r.left + x, origin.y - r.top + y) != FALSE) !=
                     (picture.At(x, y) != RGB(255, 0, 255));
    EXPECT_EQ(0, wrong);
    DeleteObject(region);
    dialog_.Show(true);
    UpdateWindow(dialog_.Handle());
    EXPECT_NE(0, GetWindowLongA(dialog_.Handle(), GWL_STYLE) & WS_MINIMIZEBOX);
}

// Dispatches this thread's messages until `condition` holds or `timeoutMs` has passed; true if it held.
template <typename Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    return true;
}

TEST_F(MainWindowTest, ProgressChannelFillsTheStatusLineAndTheResultsList)
{
    Open(false);
    Scan.mainWindow = dialog_.Handle();
    // A walk shows its entries faster than the line repaints; a reader still gets the last one, at once.
    Scan.filesScanned = 0;
    const std::string root = ScratchFolder("status");
    for (int i = 0; i < 30; ++i) WriteFile(root + "\\file" + std::to_string(i) + ".txt", "x");
    EXPECT_EQ(30, WalkDirectory((root + "\\*.*").c_str()));
    EXPECT_EQ(0u, ReadBack(IDC_STATUS_LINE).rfind(root + "\\", 0)) << ReadBack(IDC_STATUS_LINE);
    EXPECT_EQ(Scan.statusText, ReadBack(IDC_STATUS_LINE));
    SetStatus("Scanning completed");
    EXPECT_EQ("Scanning completed", ReadBack(IDC_STATUS_LINE));
    EXPECT_EQ(18, SendMessageA(Item(IDC_STATUS_LINE), WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ("Scanning completed", Text(IDC_STATUS_LINE));

    AppendResult("first");
    AppendResult("second\t\t:  2");
    ListBox list(Item(IDC_RESULTS_LIST));
    ASSERT_EQ(2, list.Count());
    char line[32];
    list.Text(1, line);
    EXPECT_STREQ("second\t\t:  2", line);
}

// Texts that follow each other within a repaint period reach the system and the screen only at the period's
// tick, the last one included: the line ends up exactly as a plain static control shows that text.
TEST_F(MainWindowTest, StatusLineIsRepaintedWithTheLastTextOfABurst)
{
    Open(false);
    dialog_.Show(true);
    dialog_.Send(WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED), reinterpret_cast<LPARAM>(Item(IDC_SCAN)));
    KillTimer(dialog_.Handle(), ScanTimerId);  // the scanning layout, but no scan
    // The reference goes where the results are; it gets the window's colour answer like the status line.
    for (int id : {IDC_RESULTS_LIST, IDC_RESULTS_FRAME}) ShowWindow(Item(id), SW_HIDE);
    HWND line = Item(IDC_STATUS_LINE);
    RECT at;
    GetWindowRect(line, &at);
    MapWindowPoints(nullptr, dialog_.Handle(), reinterpret_cast<POINT*>(&at), 2);
    const int height = at.bottom - at.top;
    HWND reference = CreateWindowExA(0, "STATIC", "Scanning completed", WS_CHILD | WS_VISIBLE | SS_LEFT | WS_GROUP,
                                     at.left, at.bottom + 2 * height, at.right - at.left, height, dialog_.Handle(),
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, reference);
    SendMessageA(reference, WM_SETFONT, SendMessageA(line, WM_GETFONT, 0, 0), TRUE);
    UpdateWindow(dialog_.Handle());
    const Picture expected = CaptureClient(reference);
    ASSERT_FALSE(expected.AllOf(RGB(255, 255, 255))) << "the reference shows no text";

    Scan.mainWindow = dialog_.Handle();
    SetStatus("C:\\first.txt");
    SetStatus("C:\\second.txt");
    SetStatus("Scanning completed");
    EXPECT_EQ("Scanning completed", ReadBack(IDC_STATUS_LINE));
    EXPECT_EQ("C:\\first.txt", SystemCopy(IDC_STATUS_LINE)) << "a text within the period went to the system";
    EXPECT_TRUE(PumpUntil([&] { return SamePicture(expected, CaptureClient(line)); }, 2000))
        << "the last text was not painted";
    EXPECT_EQ("Scanning completed", SystemCopy(IDC_STATUS_LINE));
    DestroyWindow(reference);
}

TEST_F(MainWindowTest, TheXButtonBeforeTheScanCloses)
{
    Open(false);
    SendMessageA(Item(IDC_CLOSE_X), BM_CLICK, 0, 0);
    EXPECT_EQ(IDCANCEL, dialog_.EndResult());
}

TEST_F(MainWindowTest, ScanArmsTheEngineAndShowsTheScanControls)
{
    Open(false);
    // The timer is killed in TearDown before any message is pumped, so no scan runs here.
    dialog_.Send(WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED), reinterpret_cast<LPARAM>(Item(IDC_SCAN)));
    EXPECT_EQ(1, ScanRunning);
    EXPECT_STREQ("!:", Scan.scanPath);
    EXPECT_EQ(dialog_.Handle(), Scan.mainWindow);
    EXPECT_EQ(100, Scan.action);
    EXPECT_EQ("Scanning", Text(IDC_STATUS_FRAME));
    EXPECT_EQ("Searching for W32/StartPage Trojan and its variants", Text(IDC_SEARCHING_FOR));
    ExpectStateAfter({WindowStep::Ready, WindowStep::ProductNotInstalled, WindowStep::ScanStarted});

    // A second SCAN command (the button is disabled, but a command can still be sent) starts nothing.
    Scan.scanPath[0] = '\0';
    dialog_.Send(WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED), reinterpret_cast<LPARAM>(Item(IDC_SCAN)));
    EXPECT_STREQ("", Scan.scanPath);
}

// Answers the terminate question Yes at the first tick of the scan timer that the question's own loop takes
// from the queue, so that the tick surely came while the question was open.
struct QuestionAtTheFirstTick {
    HWND dialog = nullptr;
    int ticksWhileAsking = 0;
};
QuestionAtTheFirstTick question;

BOOL CALLBACK FindQuestion(HWND window, LPARAM found)
{
    char name[16] = {};
    if (window == question.dialog || !GetClassNameA(window, name, sizeof name) || std::string(name) != "#32770")
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

LRESULT CALLBACK AnswerYesAtTheScanTick(int code, WPARAM removal, LPARAM message)
{
    const MSG& taken = *reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && taken.message == WM_TIMER && taken.hwnd == question.dialog &&
        taken.wParam == static_cast<WPARAM>(ScanTimerId)) {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindQuestion, reinterpret_cast<LPARAM>(&box));
        if (box && question.ticksWhileAsking++ == 0) PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

// CANCEL before the scan timer's first tick: the tick waits for the answer, and after Yes the scan ends as a
// terminated one without looking at a single file.
TEST_F(MainWindowTest, ACancelBeforeTheFirstTickHoldsTheScanAndYesEndsItUnwalked)
{
    Open(false);
    dialog_.Show(true);
    std::memset(&Scan, 0, sizeof Scan);
    question = QuestionAtTheFirstTick{dialog_.Handle()};
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, AnswerYesAtTheScanTick, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    dialog_.Send(WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED), reinterpret_cast<LPARAM>(Item(IDC_SCAN)));
    dialog_.Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(Item(IDCANCEL)));
    UnhookWindowsHookEx(hook);
    EXPECT_GT(question.ticksWhileAsking, 0) << "no tick came while the question was open";
    EXPECT_EQ(1, Scan.terminateRequested);
    ASSERT_TRUE(PumpUntil([] { return ScanRunning == 0; }, 30000)) << "the scan did not run after the answer";
    EXPECT_EQ("Scanning terminated", ReadBack(IDC_STATUS_LINE));
    EXPECT_EQ(0, Scan.filesScanned);
    ListBox list(Item(IDC_RESULTS_LIST));
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i) {
        char line[64] = {};
        list.Text(i, line);
        lines.push_back(line);
    }
    EXPECT_EQ(Statistics(0, 0, 0), lines);
    ExpectStateAfter({WindowStep::Ready, WindowStep::ProductNotInstalled, WindowStep::ScanStarted,
                      WindowStep::TerminateConfirmed, WindowStep::ScanFinished});
}

// Template 141 as the program has it, but placed at (x, y) dialog units; empty when it is not found.
std::vector<WORD> MainTemplateAt(short x, short y)
{
    HRSRC found = FindResourceA(ResourceModule(), MAKEINTRESOURCEA(IDD_MAIN_SCAN), MAKEINTRESOURCEA(5));
    HGLOBAL loaded = found ? LoadResource(ResourceModule(), found) : nullptr;
    const WORD* words = loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
    if (!words) return {};
    std::vector<WORD> copy(words, words + (SizeofResource(ResourceModule(), found) + 1) / 2);
    // An extended template: version, 0xFFFF, help id, extended style, style, item count, then x and y.
    if (copy.size() < 11 || copy[1] != 0xFFFF) return {};
    copy[9] = static_cast<WORD>(x);
    copy[10] = static_cast<WORD>(y);
    return copy;
}

RECT RectInParent(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A taskbar at the top or left of the screen makes the system place the window off the origin: the controls
// land where they do at the origin, and the window is centred all the same.
TEST_F(MainWindowTest, AWindowPlacedAwayFromTheOriginHasTheSameLayoutAndIsCentred)
{
    Open(false);
    const std::vector<WORD> awayTemplate = MainTemplateAt(40, 30);
    ASSERT_FALSE(awayTemplate.empty());
    MainScanDialog away{DialogTemplate::FromMemory(reinterpret_cast<const DLGTEMPLATE*>(awayTemplate.data()))};
    ASSERT_TRUE(away.Create());
    int controls = 0;
    for (HWND child = GetWindow(dialog_.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const RECT expected = RectInParent(child);
        const RECT actual = RectInParent(GetDlgItem(away.Handle(), id));
        ++controls;
        EXPECT_TRUE(EqualRect(&expected, &actual))
            << "control " << id << ": " << actual.left << "," << actual.top << "," << actual.right << ","
            << actual.bottom << " instead of " << expected.left << "," << expected.top << "," << expected.right << ","
            << expected.bottom;
    }
    EXPECT_GT(controls, 10);
    const RECT r = away.ScreenRect();
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(462, r.bottom - r.top);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((work.left + work.right) / 2, (r.left + r.right) / 2, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, (r.top + r.bottom) / 2, 1);
}

TEST_F(MainWindowTest, StaticsAndTheWindowAreWhiteButTheFamilyLabelKeepsTheStandardBrush)
{
    Open(false);
    ClientDC window(dialog_.Handle());
    HDC dc = window.Get();
    auto colour = [&](UINT message, int id) {
        HWND control = id ? Item(id) : dialog_.Handle();
        return reinterpret_cast<HBRUSH>(
            dialog_.Send(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    };
    EXPECT_EQ(WhiteBrush.Get(), colour(WM_CTLCOLORSTATIC, IDC_DESCRIPTION));
    EXPECT_EQ(WhiteBrush.Get(), colour(WM_CTLCOLORDLG, 0));
    EXPECT_NE(WhiteBrush.Get(), colour(WM_CTLCOLORSTATIC, IDC_FAMILY_LABEL));
    EXPECT_NE(WhiteBrush.Get(), colour(WM_CTLCOLORLISTBOX, IDC_RESULTS_LIST));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
}

}  // namespace
