#include "system/process_kill.h"

#include <windows.h>
#include <tlhelp32.h>

#include "system/platform_handles.h"
#include "system/process_match.h"

namespace {
// Windows 9x is slow to settle after each toolhelp call; these pauses are part of the road.
constexpr DWORD kToolhelpPauseMs = 100;
constexpr DWORD kBeforeTerminateMs = 50;
constexpr DWORD kAfterTerminateMs = 500;
constexpr DWORD kTerminateAndQuery = PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION;

// The program is 32-bit and hands Windows 9x its 296-byte ANSI entry; the 64-bit test build has a wider one.
static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32) == 296, "the ANSI process entry of Windows 9x");
using CreateSnapshotFn = HANDLE WINAPI(DWORD, DWORD);
using ProcessWalkFn = BOOL WINAPI(HANDLE, PROCESSENTRY32*);

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
    // Resolved by name: NT 4 has no toolhelp, and the program must load there too.
    ScopedLibrary kernel("Kernel32.dll");
    Sleep(kToolhelpPauseMs);
    if (!kernel.IsLoaded()) return 0;
    auto createSnapshot = kernel.Resolve<CreateSnapshotFn>("CreateToolhelp32Snapshot");
    auto first = kernel.Resolve<ProcessWalkFn>("Process32First");
    if (!createSnapshot || !first) return 0;
    ScopedHandle snapshot(createSnapshot(TH32CS_SNAPPROCESS, 0));
    Sleep(kToolhelpPauseMs);
    if (!snapshot.IsValid()) return 0;

    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    if (!first(snapshot.Get(), &entry)) return 0;
    for (;;) {
        // Only the first match: a second copy of the image keeps running.
        if (ToolhelpNameMatches(path, entry.szExeFile)) return TerminateById(entry.th32ProcessID);
        auto next = kernel.Resolve<ProcessWalkFn>("Process32Next");
        if (!next) return 0;
        Sleep(kToolhelpPauseMs);
        if (!next(snapshot.Get(), &entry)) return 0;
        Sleep(kToolhelpPauseMs);
    }
}
