#include "app/main_scan_dialog.h"

#include <shellapi.h>

#include "app/child_layout_win.h"
#include "app/dialog_font_win.h"
#include "app/results_list_win.h"
#include "app/window_region_win.h"
#include "app/window_texts.h"
#include "base/product.h"
#include "base/progress_channel.h"
#include "base/registry_value.h"
#include "base/scan_state.h"
#include "base/text_buffer.h"
#include "engine/scan_driver.h"
#include "framework/resources.h"
#include "resources/resource_ids.h"
#include "ui/skin_message_box.h"

HWND TheMainDialog;
Font LabelFont;
Brush WhiteBrush;
int LargeFonts;

namespace {

constexpr int kDesignWidth = 600;  // the background picture's layout
constexpr int kDesignHeight = 337;
constexpr int kWindowHeight = 462;
constexpr COLORREF kOutsideColour = RGB(255, 0, 255);
constexpr UINT kScanTimerPeriod = 100;
constexpr UINT kYesNoQuestion = MB_YESNO | MB_ICONQUESTION;
constexpr int kRegistryBufferSize = 300;
constexpr int kWebAddressSize = 512;

bool ProductInstalled()
{
    char folder[kRegistryBufferSize] = {};
    return ReadRegistryValue(HKEY_LOCAL_MACHINE, kInstalledProductKey, kInstalledProductValue, folder, sizeof folder) ==
           1;
}

void OpenWebPage(const char* address)
{
    char copy[kWebAddressSize];
    if (!CopyText(copy, address)) return;
    ShellExecuteA(nullptr, "open", copy, nullptr, nullptr, SW_SHOWNORMAL);
}

bool ScreenHasLargeFonts()
{
    ClientDC screen(nullptr);
    return screen && GetDeviceCaps(screen.Get(), LOGPIXELSX) >= 120;
}

}  // namespace

MainScanDialog::MainScanDialog(DialogTemplate source)
    : Dialog(source), icon_(LoadIconA(ResourceModule(), MAKEINTRESOURCEA(IDI_PRODUCT)))
{
}

MainScanDialog::~MainScanDialog()
{
    if (previousCanvasBitmap_) SelectObject(backgroundCanvas_.Get(), previousCanvasBitmap_);
    if (published_ && TheMainDialog == published_) TheMainDialog = nullptr;
}

const MessageTable& MainScanDialog::Messages() const
{
    static const MessageEntry entries[] = {
        OnMessage<&MainScanDialog::OnSetStatus>(MSG_SET_STATUS),
        OnMessage<&MainScanDialog::OnAppendResult>(MSG_APPEND_RESULT),
        OnTimer<&MainScanDialog::OnScanTimer>(),
        OnPaint<&MainScanDialog::PaintBackground>(),
        OnCommand<&MainScanDialog::OnScan>(IDC_SCAN),
        OnCommand<&MainScanDialog::OnCloseButton>(IDC_CLOSE_X),
        OnCommand<&MainScanDialog::OpenProductPage>(IDC_DOWNLOAD),
        OnCommand<&MainScanDialog::OpenProductPage>(IDC_PRODUCT_BANNER),
        OnCommand<&MainScanDialog::OpenRemovalToolsPage>(IDC_REMOVAL_TOOLS_BANNER),
        OnCommand<&MainScanDialog::OnOkButton>(IDC_OK_BUTTON),
        OnCtlColor<&MainScanDialog::OnControlColour>(),
        OnMouse<&MainScanDialog::OnLeftButtonDown>(WM_LBUTTONDOWN),
    };
    static const MessageTable table = MakeMessageTable(entries);
    return table;
}

void MainScanDialog::BindControls()
{
    Bind(resultsFrame_, IDC_RESULTS_FRAME);
    Bind(logoButton_, IDC_LOGO);
    Bind(removalToolsBanner_, IDC_REMOVAL_TOOLS_BANNER);
    Bind(productBanner_, IDC_PRODUCT_BANNER);
    Bind(searchingForLabel_, IDC_SEARCHING_FOR);
    Bind(installedNote_, IDC_INSTALLED_NOTE);
    Bind(descriptionLabel_, IDC_DESCRIPTION);
    Bind(copyrightLabel_, IDC_COPYRIGHT);
    Bind(familyLabel_, IDC_FAMILY_LABEL);
    Bind(cancelButton_, IDCANCEL);
    Bind(statusFrame_, IDC_STATUS_FRAME);
    Bind(statusLine_, IDC_STATUS_LINE);
    Bind(resultsList_, IDC_RESULTS_LIST);
    Bind(closeButton_, IDC_CLOSE_X);
    Bind(downloadButton_, IDC_DOWNLOAD);
    Bind(scanButton_, IDC_SCAN);
    Bind(okButton_, IDC_OK_BUTTON);
}

bool MainScanDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    Apply(WindowStep::Ready);
    TheMainDialog = published_ = hwnd_;
    MakeDialogFont(LabelFont, 15, FW_BOLD, false, false);
    ShowTexts();
    LargeFonts = ScreenHasLargeFonts() ? 1 : 0;
    ScaleChildWindows(hwnd_, kDesignWidth, kDesignHeight);
    // Sized where the system put it (at the work area's origin when a taskbar is docked at the top or left):
    // left in its place, it is then centred on the work area by the dialog framework.
    Resize(kDesignWidth, kWindowHeight);
    Apply(ProductInstalled() ? WindowStep::ProductInstalled : WindowStep::ProductNotInstalled);
    WhiteBrush.Reset(CreateSolidBrush(RGB(255, 255, 255)));
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    // No caption bar, but the taskbar button still gets a window menu and can minimise the window.
    SetWindowLongPtrA(hwnd_, GWL_STYLE, GetWindowLongPtrA(hwnd_, GWL_STYLE) | WS_SYSMENU | WS_MINIMIZEBOX);
    LoadBackground();
    for (CExButton* button : {&okButton_, &cancelButton_, &scanButton_, &downloadButton_, &closeButton_,
                              &removalToolsBanner_, &productBanner_, &logoButton_})
        button->LoadFromCaption(button->Id(), *this);
    SetText(ProductCaption);
    // The logo keeps the default pointer.
    for (CExButton* button : {&scanButton_, &closeButton_, &downloadButton_, &okButton_, &cancelButton_,
                              &productBanner_, &removalToolsBanner_})
        button->LoadHandCursor();
    return true;
}

void MainScanDialog::ShowTexts()
{
    char description[kDescriptionTextSize];
    BuildDescriptionText(description, sizeof description, ProductCaption, FamilyName);
    descriptionLabel_.SetText(description);
    char family[kFamilyLabelTextSize];
    BuildFamilyLabelText(family, sizeof family, FamilyName);
    familyLabel_.SetText(family);
    copyrightLabel_.SetText(kCopyrightText);
    installedNote_.SetText(kInstalledNoteText);
}

void MainScanDialog::Apply(WindowStep step)
{
    ControlChanges changes = ChangesFor(step);
    for (size_t i = 0; i < changes.count; ++i) {
        const ControlChange& change = changes.changes[i];
        Window control(Item(change.id));
        if (change.enabling != Enabling::Keep) control.Enable(change.enabling == Enabling::Enable);
        if (change.visibility != Visibility::Keep) control.Show(change.visibility == Visibility::Show);
    }
}

void MainScanDialog::LoadBackground()
{
    background_ = LoadMappedBitmap(MAKEINTRESOURCEA(IDB_BACKGROUND));
    if (!background_) return;  // the window stays rectangular and paints no picture
    Region shape(CreateBitmapRegion(background_.Get(), kOutsideColour, true));
    // A window region is in window coordinates, but the picture is painted at the client origin, inside the
    // border: moved by that offset the outline lies on the picture, and none of its magenta shows.
    POINT clientOrigin = {0, 0};
    RECT window;
    if (shape && ClientToScreen(hwnd_, &clientOrigin) && GetWindowRect(hwnd_, &window))
        OffsetRgn(shape.Get(), clientOrigin.x - window.left, clientOrigin.y - window.top);
    // The system owns a region once it is the window's.
    if (shape && SetWindowRgn(hwnd_, shape.Get(), TRUE)) shape.Release();
    GetObjectA(background_.Get(), sizeof backgroundSize_, &backgroundSize_);
    backgroundCanvas_ = MemoryDC(nullptr);
    if (backgroundCanvas_) previousCanvasBitmap_ = SelectObject(backgroundCanvas_.Get(), background_.Get());
}

LRESULT MainScanDialog::OnSetStatus(WPARAM, LPARAM)
{
    statusLine_.Show(Scan.statusText);
    return 0;
}

LRESULT MainScanDialog::OnAppendResult(WPARAM, LPARAM)
{
    AppendResultLine(resultsList_.Handle());
    return 0;
}

void MainScanDialog::OnScan()
{
    if (!scanButton_.IsEnabled()) return;  // one scan per run, however the command arrives
    ScanRunning = 1;
    Apply(WindowStep::ScanStarted);
    statusFrame_.SetText(kStatusFrameScanningCaption);
    char searching[kDescriptionTextSize];
    BuildSearchingForText(searching, sizeof searching, FamilyName);
    searchingForLabel_.SetText(searching);
    searchingForFont_.Reset(CreateFontA(15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
    searchingForLabel_.SetFont(searchingForFont_.Get(), true);
    CopyText(Scan.scanPath, "!:");
    Scan.mainWindow = hwnd_;
    Scan.action = ACTION_DELETE;
    // Cleared here, not at the first tick: a request confirmed before that tick must still end the scan.
    Scan.terminateRequested = 0;
    scanArmed_ = true;
    SetTimer(hwnd_, ScanTimerId, kScanTimerPeriod, nullptr);
}

// The whole scan runs here, on the first tick; the walker pumps messages, so the window's other handlers run
// nested inside RunScan. Only the tick of the timer that SCAN started runs it, once: a timer message posted
// by anyone else, or one that comes after the scan, changes nothing. A tick that comes while a question of
// this window is open waits (the timer keeps running) until it is answered, so that the scan never runs
// inside the question's own message loop, where the answer could not stop it.
void MainScanDialog::OnScanTimer(UINT_PTR timerId)
{
    Default();
    if (timerId != static_cast<UINT_PTR>(ScanTimerId) || !scanArmed_ || questionOpen_) return;
    scanArmed_ = false;
    KillTimer(hwnd_, ScanTimerId);
    RunScan();
    Apply(WindowStep::ScanFinished);
    statusFrame_.SetText("");
    ScanRunning = 0;
}

void MainScanDialog::OnCancel()
{
    AskToEndScan(ProductCaption);
}

void MainScanDialog::OnCloseButton()
{
    AskToEndScan(kCloseButtonQuestionCaption);
}

// Before and after a scan the window closes at once; during one a confirmed request only raises the flag that
// the walker watches, and the scan handler restores the window when the scan has wound down.
void MainScanDialog::AskToEndScan(const char* caption)
{
    if (ScanRunning == 0) {
        End(IDCANCEL);
        return;
    }
    questionOpen_ = true;
    const int answer = SkinMessageBox(kTerminateQuestion, caption, kYesNoQuestion);
    questionOpen_ = false;
    if (answer != IDYES) return;
    Apply(WindowStep::TerminateConfirmed);
    Scan.terminateRequested = 1;
}

void MainScanDialog::OpenProductPage()
{
    OpenWebPage(kProductPageAddress);
}

void MainScanDialog::OpenRemovalToolsPage()
{
    OpenWebPage(kRemovalToolsPageAddress);
}

void MainScanDialog::PaintBackground()
{
    PaintDC dc(hwnd_);
    if (previousCanvasBitmap_)
        BitBlt(dc.Get(), 0, 0, backgroundSize_.bmWidth, backgroundSize_.bmHeight, backgroundCanvas_.Get(), 0, 0,
               SRCCOPY);
}

HBRUSH MainScanDialog::OnControlColour(HDC dc, HWND control, UINT message)
{
    HBRUSH standard = reinterpret_cast<HBRUSH>(Default());
    SetBkMode(dc, TRANSPARENT);
    if (control == familyLabel_.Handle()) return standard;  // the family label paints itself
    if ((message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC) && WhiteBrush) return WhiteBrush.Get();
    return standard;
}

// A press on the window's body (not on a control) moves the window as if its caption had been grabbed.
void MainScanDialog::OnLeftButtonDown(UINT, POINT point)
{
    // The caption press is defined in screen coordinates; a client point makes the window jump on the first move.
    ClientToScreen(hwnd_, &point);
    Post(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
}
