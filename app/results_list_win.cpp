#include "app/results_list_win.h"

#include <cstring>

#include "engine/scan_state.h"

namespace {

constexpr LRESULT kClearAtLines = 150;
constexpr int kExtentThreshold = 560;

// The widest line in pixels, measured in the list box's device context as it comes (the list's own font is
// deliberately not selected into it).
int WidestLine(HWND list)
{
    HDC dc = GetDC(list);
    if (!dc) return 0;
    int widest = 0;
    char text[kResultLineSize];
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, i, 0);
        if (length < 0 || length >= static_cast<LRESULT>(sizeof text)) continue;
        if (SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text)) == LB_ERR) continue;
        SIZE size;
        if (GetTextExtentPoint32A(dc, text, static_cast<int>(length), &size) && size.cx > widest) widest = size.cx;
    }
    ReleaseDC(list, dc);
    return widest;
}

}  // namespace

void AppendResultLine(HWND list)
{
    if (SendMessageA(list, LB_GETCOUNT, 0, 0) >= kClearAtLines && KeepResults == 0)
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Scan.resultLine));

    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count > 2) SendMessageA(list, LB_SETCURSEL, count - 1, 0);

    // After a clearing, the widest line left may be narrower than one seen before but still wider than the
    // extent: the extent grows only, so lines scrolled away stay reachable by the same scroll range.
    int widest = WidestLine(list);
    LRESULT extent = SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0);
    LRESULT wanted = 3 * widest / 4;
    if (widest > kExtentThreshold && wanted > extent)
        SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(wanted), 0);
}
