// The window's side of the progress channel for results: the results list (the status line is CStatusLine).
#pragma once

#include <windows.h>

// MSG_APPEND_RESULT: appends Scan.resultLine to the results list. The list is emptied first when it holds 150
// lines or more and KeepResults is 0; from the third line on the new last line is selected (which scrolls it
// into view); the horizontal extent becomes 3/4 of the widest line once that exceeds 560 pixels, never shrinking.
void AppendResultLine(HWND resultsList);
