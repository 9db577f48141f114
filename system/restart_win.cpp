#include "system/restart.h"

#include "base/platform_handles.h"
#include "system/platform.h"
#include "system/restart_privilege.h"

int RestartComputer()
{
    return RestartComputerWith(ExitWindowsEx);
}

int RestartComputerWith(ExitWindowsFn* exitWindows)
{
    // Windows 9x has no privileges; every other platform code takes the NT road.
    if (GetPlatformCode() != PLATFORM_WIN9X) {
        ScopedHandle token(OpenOwnToken());
        if (!token.IsValid()) return 0;
        DWORD error = EnableTokenPrivilege(token.Get(), "SeShutdownPrivilege");
        if (error != ERROR_SUCCESS) return static_cast<int>(error);
    }
    return exitWindows(EWX_REBOOT | EWX_FORCE, 0);
}
