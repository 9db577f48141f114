#include "ui/hand_cursor_win.h"

#include "base/platform_handles.h"
#include "base/text_buffer.h"
#include "framework/resources.h"

namespace {

constexpr int kWinHelpHandCursor = 106;

// The copy stays valid after the module that held the cursor is unloaded.
HCURSOR CopyOf(HCURSOR cursor)
{
    return cursor ? static_cast<HCURSOR>(CopyIcon(cursor)) : nullptr;
}

HCURSOR WinHelpHandCursor()
{
    char path[260];
    UINT length = GetWindowsDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path || !AppendText(path, "\\winhlp32.exe")) return nullptr;
    ScopedLibrary winHelp(path);
    if (!winHelp.IsLoaded()) return nullptr;
    return CopyOf(LoadCursorA(winHelp.Get(), MAKEINTRESOURCEA(kWinHelpHandCursor)));
}

}  // namespace

HCURSOR LoadHandCursorCopy()
{
    if (HCURSOR hand = WinHelpHandCursor()) return hand;
    // Windows 98, 2000 and later have a hand of their own; Windows 95 and NT 4 do not.
    if (HCURSOR hand = CopyOf(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)))) return hand;  // IDC_HAND
    return CopyOf(LoadCursorA(ResourceModule(), MAKEINTRESOURCEA(IDC_VEX_HAND)));
}
