// Exceptions stopped at a Windows boundary (a dialog or control procedure, the start-up), where nothing may
// unwind into the system's code: each is recorded as a debug string before the program carries on.
#pragma once

#include <windows.h>

// Call from inside a catch block. `boundary` names where it was stopped; `message` is the window message being
// handled (0 outside one).
void TraceStoppedException(const char* boundary, UINT message);
