#include "app/status_line_win.h"

#include <cstring>

#include "base/text_buffer.h"

namespace {

// Any id but 0x1B: the walker's pump takes a message whose wParam is the Escape key code for Escape itself.
constexpr UINT_PTR kRepaintTimerId = 1;
constexpr UINT kRepaintPeriodMs = 16;  // about 60 repaints a second

}  // namespace

bool CStatusLine::Attach(HWND window)
{
    char initial[sizeof text_] = {};
    if (window) GetWindowTextA(window, initial, sizeof initial);
    if (!SubclassedControl<Static>::Attach(window)) return false;
    CopyTextCut(text_, sizeof text_, initial);
    return true;
}

const MessageTable& CStatusLine::Messages() const
{
    static const MessageEntry entries[] = {
        OnMessage<&CStatusLine::OnSetText>(WM_SETTEXT),
        OnMessage<&CStatusLine::OnGetText>(WM_GETTEXT),
        OnMessage<&CStatusLine::OnGetTextLength>(WM_GETTEXTLENGTH),
        OnTimer<&CStatusLine::OnRepaintTimer>(),
    };
    static const MessageTable table = MakeMessageTable(entries);
    return table;
}

// Nothing here goes to the system while the timer runs: its tick publishes the text.
void CStatusLine::Show(const char* text)
{
    CopyTextCut(text_, sizeof text_, text);
    behind_ = true;
    if (ticking_) return;
    // After a quiet period the text is shown at once; the timer then holds back the texts that follow.
    Publish();
    ticking_ = SetTimer(Handle(), kRepaintTimerId, kRepaintPeriodMs, nullptr) != 0;
}

LRESULT CStatusLine::OnSetText(WPARAM, LPARAM text)
{
    Show(text ? reinterpret_cast<const char*>(text) : "");
    return TRUE;
}

LRESULT CStatusLine::OnGetText(WPARAM capacity, LPARAM buffer)
{
    if (capacity == 0 || !buffer) return 0;
    return static_cast<LRESULT>(CopyTextCut(reinterpret_cast<char*>(buffer), capacity, text_));
}

LRESULT CStatusLine::OnGetTextLength(WPARAM, LPARAM)
{
    return static_cast<LRESULT>(std::strlen(text_));
}

// A tick with nothing new stops the timer, so an idle line costs nothing.
void CStatusLine::OnRepaintTimer(UINT_PTR)
{
    if (behind_) {
        Publish();
        return;
    }
    KillTimer(Handle(), kRepaintTimerId);
    ticking_ = false;
}

void CStatusLine::Publish()
{
    behind_ = false;
    DefaultFor({WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text_)});
}
