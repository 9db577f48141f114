#include "repair/service_keys.h"

#include <windows.h>

int DeleteMachineKey(const char* path)
{
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, path) == ERROR_SUCCESS ? 1 : 0;
}

int RemoveServiceKeys(const char* name)
{
    int removed = 0;
    for (int step = 0; step < kServiceKeyDeletions; ++step) {
        char path[kServiceKeyPathSize];
        if (ServiceKeyPath(step, name, path) && DeleteMachineKey(path)) removed = 1;
    }
    return removed;
}
