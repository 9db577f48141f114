#include "system/platform.h"

#include <windows.h>

// The 148-byte record: the extended form is unknown to Windows 95 and NT 4 before SP6.
static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record that every Windows version knows");

namespace {
bool QueryVersion(OSVERSIONINFOA* info)
{
    ZeroMemory(info, sizeof *info);
    info->dwOSVersionInfoSize = sizeof *info;
    return GetVersionExA(info) != FALSE;
}
}  // namespace

int GetPlatformCode()
{
    OSVERSIONINFOA info;
    if (!QueryVersion(&info)) return PLATFORM_QUERY_FAILED;
    return PlatformCodeFor(info.dwPlatformId);
}

int GetNtGeneration()
{
    OSVERSIONINFOA info;
    if (!QueryVersion(&info)) return NT_GENERATION_NONE;
    return NtGenerationFor(info.dwPlatformId, info.dwMajorVersion);
}
