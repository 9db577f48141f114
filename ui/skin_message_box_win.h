// The skinned modal box behind SkinMessageBox: a light-blue panel, an icon bitmap chosen by the style, the
// message in a word-wrapped label, and bitmap buttons for OK, OK/Cancel or Yes/No. It grows with the message
// and centres itself over the main window. Built from dialog template 142.
#pragma once

#include <cstdint>

#include "base/gdi.h"
#include "framework/dialog.h"
#include "framework/static.h"
#include "ui/ex_button_win.h"
#include "ui/message_box_layout.h"

class SkinMessageDialog : public Dialog {
public:
    // `text` and `caption` must outlive the dialog; only the style bits read by ChooseBoxLook count.
    SkinMessageDialog(const char* text, const char* caption, unsigned int style,
                      DialogTemplate source = DialogTemplate::FromResource(142));

    int IconBitmapId() const { return iconBitmapId; }

protected:
    void BindControls() override;
    bool OnInitDialog() override;
    void OnOK() override { End(IDOK); }  // no data exchange
    void OnCancel() override;
    const MessageTable& Messages() const override;

private:
    void OnYes() { End(IDYES); }
    void OnNo() { End(IDNO); }
    void OnSingleOk() { End(IDOK); }
    void OnPaint();
    HBRUSH OnControlColour(HDC dc, HWND control, UINT message);

    void LayOut();
    void ShowButtons();
    void CentreOnMainWindow();

    Static iconArea;
    NCExButton yesButton;
    NCExButton okButton;
    NCExButton noButton;
    NCExButton singleOkButton;
    NCExButton cancelButton;
    Static messageLabel;
    int32_t iconBitmapId = IDB_WARNING;
    int32_t showOkOnly = 0;
    int32_t showOkCancel = 0;
    int32_t showYesNo = 0;
    const char* messageText;
    const char* captionText;
    Brush panelBrush;
};
