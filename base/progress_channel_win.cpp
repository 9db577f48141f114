#include "base/progress_channel.h"

#include <cstdio>

#include "base/scan_state.h"
#include "base/text_buffer.h"

void SendStatus()
{
    SendMessageA(Scan.mainWindow, MSG_SET_STATUS, 0, 0);
}

void SetStatus(const char* text)
{
    if (CopyText(Scan.statusText, text)) SendStatus();
}

void AppendResult(const char* text)
{
    if (CopyText(Scan.resultLine, text)) SendMessageA(Scan.mainWindow, MSG_APPEND_RESULT, 0, 0);
}

void AppendResultF(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(Scan.resultLine, sizeof Scan.resultLine, format, args);
    va_end(args);
    if (written < 0 || written >= static_cast<int>(sizeof Scan.resultLine)) {
        Scan.resultLine[0] = '\0';
        return;
    }
    SendMessageA(Scan.mainWindow, MSG_APPEND_RESULT, 0, 0);
}
