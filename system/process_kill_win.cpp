#include "system/process_kill.h"

#include <windows.h>

#include "system/platform.h"

int KillProcessesByImage(const char* path)
{
    int killed;
    switch (GetPlatformCode()) {
    case PLATFORM_WIN9X:
        killed = KillByToolhelp(path);
        break;
    case PLATFORM_NT:
        // The process-status road reports whether it could enumerate, not whether it killed: no box there.
        if (GetNtGeneration() == NT_GENERATION_5) return KillByPsapi(path);
        killed = KillByPerfData(path);
        break;
    default:
        return 1;  // no way to enumerate: let the caller simply try again
    }
    if (killed) return 1;
    MessageBoxA(nullptr, "Could not kill process", path, MB_OK);
    return 0;
}
