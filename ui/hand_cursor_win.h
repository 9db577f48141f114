// The hand-shaped pointer of the main window's buttons.
#pragma once

#include <windows.h>

// Our own hand cursor resource, for systems whose winhlp32.exe has no cursor 106.
constexpr int IDC_VEX_HAND = 170;

// A copy of the hand pointer that the caller owns (DestroyCursor), or null: cursor 106 of winhlp32.exe in the
// Windows directory, else IDC_VEX_HAND of this program.
HCURSOR LoadHandCursorCopy();
