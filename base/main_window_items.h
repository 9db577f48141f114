// Process-wide items of the main window: the window defines them, the skinned controls read them.
#pragma once

#include <windows.h>

#include "base/gdi.h"

extern HWND TheMainDialog;  // the main window once it initialises; the skinned message box centres on it
extern Font LabelFont;      // the dialog font in bold at height 15, for the family label
extern Brush WhiteBrush;    // background of the window and its static controls
extern int LargeFonts;      // 1 when the screen has 120 or more logical pixels per inch across
