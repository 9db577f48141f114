#include "app/child_layout_win.h"

#include "app/child_layout.h"

void ScaleChildWindows(HWND dialog, int designWidth, int designHeight)
{
    RECT client;
    ScaleFactors factors;
    if (!GetClientRect(dialog, &client) || !ComputeScaleFactors(client.right - client.left, client.bottom - client.top,
                                                                designWidth, designHeight, factors))
        return;
    EnumChildWindows(dialog, ScaleChildProc, reinterpret_cast<LPARAM>(&factors));
}

BOOL CALLBACK ScaleChildProc(HWND child, LPARAM factors)
{
    RECT screen;
    if (!GetWindowRect(child, &screen)) return TRUE;
    ChildRect scaled = ScaleChildRect(ChildRect{screen.left, screen.top, screen.right, screen.bottom},
                                      *reinterpret_cast<const ScaleFactors*>(factors));
    POINT topLeft{scaled.left, scaled.top};
    ScreenToClient(GetParent(child), &topLeft);
    MoveWindow(child, topLeft.x, topLeft.y, scaled.right - scaled.left, scaled.bottom - scaled.top, TRUE);
    return TRUE;
}
