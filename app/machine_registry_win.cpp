#include "app/machine_registry_win.h"

namespace {

class OpenKey {
public:
    OpenKey(HKEY parent, const char* path) : status_(RegOpenKeyExA(parent, path, 0, KEY_READ, &key_)) {}
    ~OpenKey() { Close(); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    bool IsOpen() const { return status_ == ERROR_SUCCESS; }
    HKEY Get() const { return key_; }
    // True when the key closed without error.
    bool Close()
    {
        if (!IsOpen()) return false;
        status_ = ERROR_INVALID_HANDLE;
        return RegCloseKey(key_) == ERROR_SUCCESS;
    }

private:
    HKEY key_ = nullptr;
    LONG status_;
};

}  // namespace

int ReadMachineRegistryString(const char* keyPath, const char* valueName, char* buffer, DWORD capacity)
{
    if (capacity == 0) return 0;
    buffer[0] = '\0';
    OpenKey key(HKEY_LOCAL_MACHINE, keyPath);
    if (!key.IsOpen()) return 0;
    DWORD size = 0;
    bool read = RegQueryValueExA(key.Get(), valueName, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
                size <= capacity &&
                RegQueryValueExA(key.Get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) ==
                    ERROR_SUCCESS &&
                // A value that fills the whole buffer must bring its own terminator.
                (size < capacity || buffer[size - 1] == '\0');
    if (!read) buffer[0] = '\0';
    else if (size < capacity) buffer[size] = '\0';  // the value may be stored without its terminator
    return key.Close() && read ? 1 : 0;
}
