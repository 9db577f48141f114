#include "app/machine_registry_win.h"

#include "base/platform_handles.h"

int ReadMachineRegistryString(const char* keyPath, const char* valueName, char* buffer, DWORD capacity)
{
    if (capacity == 0) return 0;
    buffer[0] = '\0';
    ScopedKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, keyPath, KEY_READ)) return 0;
    DWORD size = 0;
    bool read = RegQueryValueExA(key.Get(), valueName, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
                size <= capacity &&
                RegQueryValueExA(key.Get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) ==
                    ERROR_SUCCESS &&
                // A value that fills the whole buffer must bring its own terminator.
                (size < capacity || buffer[size - 1] == '\0');
    if (!read)
        buffer[0] = '\0';
    else if (size < capacity)
        buffer[size] = '\0';  // the value may be stored without its terminator
    return key.Close() == ERROR_SUCCESS && read ? 1 : 0;
}
