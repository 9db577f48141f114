// Enabling a privilege in the program's own token: the shutdown privilege for a restart on NT, the debug
// privilege when the memory scan may not open a process.
#pragma once

#include <windows.h>

// This process's token, opened with TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY; null on failure. The caller owns it.
HANDLE OpenOwnToken();
// Enables the privilege `name` in `token`. Returns the last-error code read at once after the adjustment: 0
// when it was granted, ERROR_NOT_ALL_ASSIGNED when the account lacks it (AdjustTokenPrivileges still reports
// success then), or the lookup's error when the name is unknown.
DWORD EnableTokenPrivilege(HANDLE token, const char* name);
