// Forcing an immediate restart, after the user agreed to one.
#pragma once

#include <windows.h>

using ExitWindowsFn = BOOL WINAPI(UINT flags, DWORD reason);

// Enables the shutdown privilege (every platform but 9x), then asks for a reboot that does not wait for
// applications. Returns the reboot request's result; 0 when the own token cannot be opened; the last-error
// code when the privilege is not granted (no reboot is requested then). Nothing is shown.
int RestartComputer();
// The same, with the reboot request made through `exitWindows` (tests pass their own).
int RestartComputerWith(ExitWindowsFn* exitWindows);
