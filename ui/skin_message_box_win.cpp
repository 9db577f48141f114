#include "ui/skin_message_box.h"

#include <cstring>

#include "base/main_window_items.h"
#include "base/product.h"
#include "framework/resources.h"
#include "resources/resource_ids.h"
#include "ui/skin_message_box_win.h"

namespace {

const COLORREF kPanelColour = RGB(207, 233, 254);

// The five buttons in the order they are laid out.
constexpr int kButtonIds[] = {IDC_SINGLE_OK, IDOK, IDCANCEL, IDYES, IDNO};

HWND MainWindowIfAlive()
{
    return TheMainDialog && IsWindow(TheMainDialog) ? TheMainDialog : nullptr;
}

}  // namespace

int SkinMessageBox(const char* text, const char* caption, unsigned int style)
{
    SkinMessageDialog box(text ? text : "", caption ? caption : "", style);
    // Owned by the main window, which is disabled while the box is up.
    return static_cast<int>(box.DoModal(MainWindowIfAlive()));
}

SkinMessageDialog::SkinMessageDialog(const char* text, const char* caption, unsigned int style, DialogTemplate source)
    : Dialog(source), messageText(text), captionText(caption), panelBrush(CreateSolidBrush(kPanelColour))
{
    BoxLook look = ChooseBoxLook(style);
    iconBitmapId = look.iconBitmapId;
    showOkOnly = look.buttons == BoxButtons::OkOnly;
    showOkCancel = look.buttons == BoxButtons::OkCancel;
    showYesNo = look.buttons == BoxButtons::YesNo;
}

void SkinMessageDialog::BindControls()
{
    Bind(iconArea, IDC_BOX_ICON);
    Bind(yesButton, IDYES);
    Bind(okButton, IDOK);
    Bind(noButton, IDNO);
    Bind(singleOkButton, IDC_SINGLE_OK);
    Bind(cancelButton, IDCANCEL);
    Bind(messageLabel, IDC_BOX_MESSAGE);
}

bool SkinMessageDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    LayOut();
    ShowButtons();
    okButton.LoadFromCaption(IDOK, *this);
    singleOkButton.LoadFromCaption(IDC_SINGLE_OK, *this);
    cancelButton.LoadFromCaption(IDCANCEL, *this);
    yesButton.LoadFromCaption(IDYES, *this);
    noButton.LoadFromCaption(IDNO, *this);
    messageLabel.SetText(messageText);
    SetText(*captionText ? captionText : ProductCaption);
    CentreOnMainWindow();
    KeepPositionAfterInit();  // without a main window the box stays at the screen's top-left corner
    return true;              // the first visible button takes the focus and shows its focus image
}

// Rectangles are read in screen coordinates with the box at the screen origin and used unchanged as client
// positions; the 25 pixels taken off the label make up for the title bar.
void SkinMessageDialog::LayOut()
{
    size_t length = std::strlen(messageText);
    RECT outer = ScreenRect();
    BoxGrowth growth = GrowthForTextLength(length);
    SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left + growth.b, outer.bottom - outer.top + growth.c,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    outer = ScreenRect();

    RECT label = messageLabel.ScreenRect();
    BoxLayout layout = LayOutMessageBox(length, LargeFonts != 0,
                                        BoxRect{label.left, label.top, label.right, label.bottom}, outer.bottom);
    messageLabel.Move(layout.label.x, layout.label.y, layout.label.width, layout.label.height);
    for (int id : kButtonIds) {
        Window button(Item(id));
        RECT r = button.ScreenRect();
        button.Move(r.left + layout.buttonShiftX, layout.buttonRowY, r.right - r.left, r.bottom - r.top);
    }
    if (layout.moveIcon) {
        RECT icon = iconArea.ScreenRect();
        iconArea.Move(icon.left, layout.iconY, icon.right - icon.left, icon.bottom - icon.top);
    }
}

void SkinMessageDialog::ShowButtons()
{
    singleOkButton.Show(showOkOnly != 0);
    okButton.Show(showOkCancel != 0);
    cancelButton.Show(showOkCancel != 0);
    yesButton.Show(showYesNo != 0);
    noButton.Show(showYesNo != 0);
}

void SkinMessageDialog::CentreOnMainWindow()
{
    HWND main = MainWindowIfAlive();
    if (!main) return;
    RECT over = Window(main).ScreenRect();
    RECT box = ScreenRect();
    int width = box.right - box.left, height = box.bottom - box.top;
    SetWindowPos(Handle(), nullptr, (over.left + over.right - width) / 2, (over.top + over.bottom - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SkinMessageDialog::OnCancel()
{
    End(CancelResultFor(showYesNo ? BoxButtons::YesNo : BoxButtons::OkCancel));
}

const MessageTable& SkinMessageDialog::Messages() const
{
    static const MessageEntry entries[] = {
        OnCommand<&SkinMessageDialog::OnYes>(IDYES),
        OnCommand<&SkinMessageDialog::OnNo>(IDNO),
        OnCommand<&SkinMessageDialog::OnSingleOk>(IDC_SINGLE_OK),
        ::OnPaint<&SkinMessageDialog::OnPaint>(),
        OnCtlColor<&SkinMessageDialog::OnControlColour>(),
    };
    static const MessageTable table = MakeMessageTable(entries);
    return table;
}

// The icon is loaded afresh for every paint and copied unscaled into the icon area; a larger one is clipped.
void SkinMessageDialog::OnPaint()
{
    PaintDC paint(Handle());
    Bitmap icon = LoadMappedBitmap(MAKEINTRESOURCEA(iconBitmapId));
    if (!icon) return;
    ClientDC area(iconArea.Handle());
    MemoryDC memory(area.Get());
    if (!area || !memory) return;
    SelectedObject selected(memory.Get(), icon.Get());
    RECT r = iconArea.ClientRect();
    BitBlt(area.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top, memory.Get(), 0, 0, SRCCOPY);
}

HBRUSH SkinMessageDialog::OnControlColour(HDC dc, HWND, UINT message)
{
    HBRUSH standard = reinterpret_cast<HBRUSH>(Default());
    SetBkMode(dc, TRANSPARENT);
    if (message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC) return panelBrush.Get();
    return standard;
}
