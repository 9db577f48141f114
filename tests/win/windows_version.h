// Which Windows the test runs on, as the prefix's version setting makes Wine report it.
#pragma once

#include <windows.h>

inline OSVERSIONINFOA WindowsVersion()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) info.dwPlatformId = 0;
    return info;
}

inline bool IsWin9x()
{
    return WindowsVersion().dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}
inline bool IsNtFamily()
{
    return WindowsVersion().dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// The NT family's major version (4, 5, 6 and later); 0 on Windows 9x.
inline DWORD NtMajorVersion()
{
    OSVERSIONINFOA info = WindowsVersion();
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT ? info.dwMajorVersion : 0;
}

// Wine's own ntdll export: expectations that hold only for Wine's stand-ins go behind this check.
inline bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

inline bool IsWindowsXp()
{
    OSVERSIONINFOA info = WindowsVersion();
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion == 5 && info.dwMinorVersion == 1;
}
