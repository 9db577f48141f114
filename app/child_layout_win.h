// Lays the main window's controls out on its fixed design size, whatever the dialog font and screen make of the
// template.
#pragma once

#include <windows.h>

// Moves and sizes every child (children of children included) so that the dialog's client area maps onto
// designWidth x designHeight pixels: each child's rectangle in the dialog's client area is scaled, wherever the
// dialog stands on the screen.
void ScaleChildWindows(HWND dialog, int designWidth, int designHeight);

// The per-child step of ScaleChildWindows, which passes the dialog and the factors in `scaling`. Always continues
// the enumeration.
BOOL CALLBACK ScaleChildProc(HWND child, LPARAM scaling);
