// The tool's only main window: a caption-less, bitmap-shaped modal dialog (template 141) that offers SCAN, runs
// the scan inside its timer handler and shows the engine's progress: the status line and the results list.
#pragma once

#include <windows.h>

#include "app/status_line_win.h"
#include "app/window_states.h"
#include "base/gdi.h"
#include "base/main_window_items.h"
#include "framework/button.h"
#include "framework/dialog.h"
#include "framework/list_box.h"
#include "framework/static.h"
#include "ui/ex_button_win.h"
#include "ui/ex_label_win.h"

class MainScanDialog : public Dialog {
public:
    // From template 141 of the program's resources, or another template (tests build one in memory).
    explicit MainScanDialog(DialogTemplate source = DialogTemplate::FromResource(141));
    ~MainScanDialog() override;

protected:
    void BindControls() override;
    bool OnInitDialog() override;
    void OnOK() override {}  // Enter does nothing
    void OnCancel() override;
    const MessageTable& Messages() const override;

private:
    LRESULT OnSetStatus(WPARAM, LPARAM);
    LRESULT OnAppendResult(WPARAM, LPARAM);
    void OnScanTimer(UINT_PTR timerId);
    void PaintBackground();
    HBRUSH OnControlColour(HDC dc, HWND control, UINT message);
    void OnLeftButtonDown(UINT keys, POINT point);
    void OnScan();
    void OnCloseButton();
    void OnOkButton() { End(IDOK); }
    void OpenProductPage();
    void OpenRemovalToolsPage();

    void ShowTexts();
    void Apply(WindowStep step);
    void LoadBackground();
    void AskToEndScan(const char* caption);

    // Control members, in the order they are bound.
    Button resultsFrame_;
    CExButton logoButton_;
    CExButton removalToolsBanner_;
    CExButton productBanner_;
    Static searchingForLabel_;
    Static installedNote_;
    Static descriptionLabel_;
    Static copyrightLabel_;
    CExLabel familyLabel_;
    CExButton cancelButton_;
    Button statusFrame_;
    CStatusLine statusLine_;
    ListBox resultsList_;
    CExButton closeButton_;
    CExButton downloadButton_;
    CExButton scanButton_;
    CExButton okButton_;

    HICON icon_;
    Bitmap background_;
    MemoryDC backgroundCanvas_;
    HGDIOBJ previousCanvasBitmap_ = nullptr;
    BITMAP backgroundSize_{};
    Font searchingForFont_;
    bool scanArmed_ = false;     // SCAN has started the scan timer and its tick has not yet run the scan
    bool questionOpen_ = false;  // the terminate question is up (its message loop delivers the scan timer too)
    // The handle published in TheMainDialog; the framework forgets its own before the destructor runs.
    HWND published_ = nullptr;
};
