// Removing the registration of a service that runs an infected image, so that it is not started again at the
// next boot. Only the two numbered control sets are touched, never the CurrentControlSet link, and in each only
// a service key whose ImagePath names the infected file: a service that merely bears the file's name stays.
#pragma once

#include <cstddef>

constexpr size_t kServiceKeyPathSize = 512;
constexpr int kServiceKeyDeletions = 6;
constexpr int kDeletionsPerControlSet = 3;  // Enum, Security, then the service key itself

// The key path (relative to HKEY_LOCAL_MACHINE) of deletion `step` (0 to 5) for the service `name`: in each
// control set Enum, then Security, then the service key itself. False when the name is empty or the path
// would not fit: a cut path could name another key, and an empty name the Services key itself.
bool ServiceKeyPath(int step, const char* name, char (&path)[kServiceKeyPathSize]);

// Deletes the key `path` below HKEY_LOCAL_MACHINE (a key with sub-keys stays on NT). 1 on success, else 0.
int DeleteMachineKey(const char* path);
// Runs the deletions in order, whatever the earlier ones gave, the three of a control set only when its key of
// `name` configures `imagePath` as the service's image. 1 when at least one succeeded, else 0.
int RemoveServiceKeys(const char* name, const char* imagePath);
