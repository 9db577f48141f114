// The main window's status line: a static text control whose text changes for every entry of a scan, while
// its pixels are repainted at most about 60 times a second.
//
// Under Wine, storing a window's text in the system and repainting a control each take round trips to the
// Wine server that cost more than listing a directory entry. So the latest text lives in this object:
// WM_SETTEXT stores it here, and WM_GETTEXT and WM_GETTEXTLENGTH answer from here, in this process and from
// others (they send a message). The control's own procedure, which keeps the system's copy and paints from it,
// gets the latest text at most once per repaint period (16 ms) and always once more for the last one, at the
// next tick of the repaint timer (a message: it comes when the thread next pumps). So a program that reads the
// system's copy without a message (GetWindowTextA from another process) may find it one period old.
#pragma once

#include "base/product.h"
#include "framework/static.h"
#include "framework/subclassed_control.h"

class CStatusLine : public SubclassedControl<Static> {
public:
    // Subclasses the control, keeping the text it has.
    bool Attach(HWND window);
    // The line's text from now on (cut at 259 characters). A direct call, not WM_SETTEXT: under Wine even a
    // message to a subclassed control costs a server round trip, to find its object.
    void Show(const char* text);

protected:
    const MessageTable& Messages() const override;

private:
    LRESULT OnSetText(WPARAM, LPARAM text);
    LRESULT OnGetText(WPARAM capacity, LPARAM buffer);
    LRESULT OnGetTextLength(WPARAM, LPARAM);
    void OnRepaintTimer(UINT_PTR timerId);
    // Hands the latest text to the control's own procedure, which stores it and repaints.
    void Publish();

    char text_[kTextBufferSize] = {};
    bool behind_ = false;   // the control's own copy is older than text_
    bool ticking_ = false;  // the repaint timer runs: a new text waits for its tick
};
