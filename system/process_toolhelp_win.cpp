#include "system/process_kill.h"

#include <windows.h>

#include "base/platform_handles.h"
#include "system/process_match.h"
#include "system/toolhelp_win.h"

namespace {
// Windows 9x is slow to settle after each toolhelp call; these pauses are part of the road.
constexpr DWORD kToolhelpPauseMs = 100;
constexpr DWORD kBeforeTerminateMs = 50;
constexpr DWORD kAfterTerminateMs = 500;
constexpr DWORD kTerminateAndQuery = PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION;

int TerminateById(DWORD processId)
{
    Sleep(kBeforeTerminateMs);
    ScopedHandle process(OpenProcess(kTerminateAndQuery, FALSE, processId));
    int result = process.IsValid() && TerminateProcess(process.Get(), 0) ? 1 : 0;
    Sleep(kAfterTerminateMs);
    return result;
}
}  // namespace

int KillByToolhelp(const char* path)
{
    ToolhelpProcesses processes;
    Sleep(kToolhelpPauseMs);
    if (!processes.LibraryLoaded()) return 0;
    bool taken = processes.TakeSnapshot();
    Sleep(kToolhelpPauseMs);
    PROCESSENTRY32 entry;
    if (!taken || !processes.First(entry)) return 0;
    for (;;) {
        // Only the first match: a second copy of the image keeps running.
        if (ToolhelpNameMatches(path, entry.szExeFile)) return TerminateById(entry.th32ProcessID);
        Sleep(kToolhelpPauseMs);
        if (processes.Next(entry) != ToolhelpProcesses::Step::Entry) return 0;
        Sleep(kToolhelpPauseMs);
    }
}
