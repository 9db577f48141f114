// The hand-shaped pointer of the main window's buttons.
#pragma once

#include <windows.h>

#include "resources/resource_ids.h"

// A copy of the hand pointer that the caller owns (DestroyCursor), or null: cursor 106 of winhlp32.exe in the
// Windows directory, else the system's hand, else IDC_VEX_HAND of this program.
HCURSOR LoadHandCursorCopy();
