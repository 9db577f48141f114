// Lays the main window's controls out on its fixed design size, whatever the dialog font and screen make of the
// template.
#pragma once

#include <windows.h>

// Moves and sizes every child (children of children included) so that the dialog's client area maps onto
// designWidth x designHeight pixels. Call it while the dialog stands at the screen origin: the children's screen
// rectangles are scaled as they are.
void ScaleChildWindows(HWND dialog, int designWidth, int designHeight);

// The per-child step; `factors` points to the ScaleFactors. Always continues the enumeration.
BOOL CALLBACK ScaleChildProc(HWND child, LPARAM factors);
