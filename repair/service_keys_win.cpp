#include "repair/service_keys.h"

#include <windows.h>

#include "system/service_image.h"

int DeleteMachineKey(const char* path)
{
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, path) == ERROR_SUCCESS ? 1 : 0;
}

int RemoveServiceKeys(const char* name, const char* imagePath)
{
    int removed = 0;
    for (int first = 0; first < kServiceKeyDeletions; first += kDeletionsPerControlSet) {
        // Each control set's own service key, deleted last, says which file the service runs there.
        char serviceKey[kServiceKeyPathSize];
        if (!ServiceKeyPath(first + kDeletionsPerControlSet - 1, name, serviceKey) ||
            !ServiceKeyConfiguresImage(serviceKey, imagePath))
            continue;
        for (int step = first; step < first + kDeletionsPerControlSet; ++step) {
            char path[kServiceKeyPathSize];
            if (ServiceKeyPath(step, name, path) && DeleteMachineKey(path)) removed = 1;
        }
    }
    return removed;
}
