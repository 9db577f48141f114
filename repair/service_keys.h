// Removing the registration of a service that runs an infected image, so that it is not started again at the
// next boot. Only the two numbered control sets are touched, never the CurrentControlSet link.
#pragma once

#include <cstddef>

constexpr size_t kServiceKeyPathSize = 512;
constexpr int kServiceKeyDeletions = 6;

// The key path (relative to HKEY_LOCAL_MACHINE) of deletion `step` (0 to 5) for the service `name`: in each
// control set Enum, then Security, then the service key itself. False when the name is empty or the path
// would not fit: a cut path could name another key, and an empty name the Services key itself.
bool ServiceKeyPath(int step, const char* name, char (&path)[kServiceKeyPathSize]);

// Deletes the key `path` below HKEY_LOCAL_MACHINE (a key with sub-keys stays on NT). 1 on success, else 0.
int DeleteMachineKey(const char* path);
// Runs the six deletions in order, whatever the earlier ones gave. 1 when at least one succeeded, else 0.
int RemoveServiceKeys(const char* name);
