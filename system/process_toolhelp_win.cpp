#include "system/process_kill.h"

#include <windows.h>

#include "system/process_access.h"
#include "system/toolhelp_win.h"

namespace {
// Windows 9x is slow to settle after each toolhelp call; these pauses are part of the road.
constexpr DWORD kToolhelpPauseMs = 100;
constexpr DWORD kBeforeTerminateMs = 50;
constexpr DWORD kAfterTerminateMs = 500;

bool Terminate(DWORD processId, const char* path)
{
    Sleep(kBeforeTerminateMs);
    bool terminated = TerminateIfImage(processId, path);
    Sleep(kAfterTerminateMs);
    return terminated;
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
    int result = 0;
    char image[MAX_PATH];
    for (;;) {
        // Every process of the file, since one left running keeps it locked; a program of the same name in
        // another folder is not the file.
        processes.ExecutablePath(entry, image);
        if (IsImagePath(path, image) && Terminate(entry.th32ProcessID, path)) result = 1;
        Sleep(kToolhelpPauseMs);
        if (processes.Next(entry) != ToolhelpProcesses::Step::Entry) return result;
        Sleep(kToolhelpPauseMs);
    }
}
