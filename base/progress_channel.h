// The engine's only way to the window: write the text into Scan.statusText or Scan.resultLine, then send the
// main window the matching message. The send is handled before it returns, so the buffer may be reused at once.
#pragma once

#include <windows.h>

#include <cstdarg>

constexpr UINT MSG_SET_STATUS = 0x000A;     // same number as WM_ENABLE: the window maps it to the channel
constexpr UINT MSG_APPEND_RESULT = 0x000B;  // same number as WM_SETREDRAW

// Copies `text` into Scan.statusText and sends MSG_SET_STATUS.
void SetStatus(const char* text);
// Sends MSG_SET_STATUS with the text already in Scan.statusText.
void SendStatus();
// Copies `text` into Scan.resultLine and sends MSG_APPEND_RESULT.
void AppendResult(const char* text);
// Formats into Scan.resultLine (a line that would not fit is not sent) and sends MSG_APPEND_RESULT.
void AppendResultF(const char* format, ...) __attribute__((format(printf, 1, 2)));
