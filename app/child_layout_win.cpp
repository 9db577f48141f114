#include "app/child_layout_win.h"

#include "app/child_layout.h"

namespace {

struct ChildScaling {
    HWND dialog;
    ScaleFactors factors;
};

}  // namespace

void ScaleChildWindows(HWND dialog, int designWidth, int designHeight)
{
    RECT client;
    ChildScaling scaling{dialog, {}};
    if (!GetClientRect(dialog, &client) || !ComputeScaleFactors(client.right - client.left, client.bottom - client.top,
                                                                designWidth, designHeight, scaling.factors))
        return;
    EnumChildWindows(dialog, ScaleChildProc, reinterpret_cast<LPARAM>(&scaling));
}

// Positions are taken in the dialog's client area, so the layout is the same wherever the system first put the
// dialog (a taskbar at the top or left of the screen moves it off the origin).
BOOL CALLBACK ScaleChildProc(HWND child, LPARAM scaling)
{
    const ChildScaling& of = *reinterpret_cast<const ChildScaling*>(scaling);
    RECT rect;
    if (!GetWindowRect(child, &rect)) return TRUE;
    MapWindowPoints(nullptr, of.dialog, reinterpret_cast<POINT*>(&rect), 2);
    ChildRect scaled = ScaleChildRect(ChildRect{rect.left, rect.top, rect.right, rect.bottom}, of.factors);
    POINT topLeft{scaled.left, scaled.top};
    MapWindowPoints(of.dialog, GetParent(child), &topLeft, 1);
    MoveWindow(child, topLeft.x, topLeft.y, scaled.right - scaled.left, scaled.bottom - scaled.top, TRUE);
    return TRUE;
}
