#include "base/registry_value.h"

#include <cstring>

#include "base/platform_handles.h"

bool ReadValueText(HKEY key, const char* valueName, char* buffer, size_t capacity, DWORD* type, DWORD* length)
{
    if (capacity == 0) return false;
    std::memset(buffer, 0, capacity);
    DWORD size = static_cast<DWORD>(capacity);
    DWORD valueType = REG_NONE;
    // Data that fills the buffer must bring its own terminator; data that does not fit is refused by the call.
    if (RegQueryValueExA(key, valueName, nullptr, &valueType, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        (size >= capacity && buffer[capacity - 1] != '\0')) {
        std::memset(buffer, 0, capacity);
        return false;
    }
    if (type) *type = valueType;
    if (length) *length = size;
    return true;
}

int ReadRegistryValue(HKEY root, const char* subkey, const char* valueName, char* buffer, unsigned long capacity)
{
    ScopedKey key;
    if (!key.Open(root, subkey, KEY_READ)) {
        if (capacity > 0) std::memset(buffer, 0, capacity);
        return 0;
    }
    if (!ReadValueText(key.Get(), valueName, buffer, capacity)) return 0;
    return key.Close() == ERROR_SUCCESS ? 1 : 0;
}
