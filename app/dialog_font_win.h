// Fonts derived from the main window's dialog font.
#pragma once

#include "base/gdi.h"

// Creates into `font` the main window's current font (the system font when the window has none or is not yet
// recorded in TheMainDialog) with the given height, weight, underline and italic flags. Returns 1.
int MakeDialogFont(Font& font, int height, int weight, bool underline, bool italic);
