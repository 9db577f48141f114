// Owners for the kernel's handles, file searches, registry keys and libraries: each is released on every return
// path. Uncopyable; ScopedKey::Close() returns the platform's own result for callers that report it. The GDI
// owners are in base/gdi.h.
#pragma once

#include <windows.h>

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = nullptr) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    // Snapshots report failure as INVALID_HANDLE_VALUE, OpenProcess as null.
    bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    void Close()
    {
        if (IsValid()) CloseHandle(handle_);
        handle_ = nullptr;
    }
    void Reset(HANDLE handle)
    {
        Close();
        handle_ = handle;
    }

private:
    HANDLE handle_;
};

// A file search (FindFirstFileA / FindNextFileA), closed with FindClose. The names it hands back are always
// terminated inside their fields: a name component has at most 255 characters, so this never cuts a real one,
// and no reader of an entry can run past the structure.
class FindHandle {
public:
    FindHandle(const char* pattern, WIN32_FIND_DATAA& data) : handle_(FindFirstFileA(pattern, &data))
    {
        if (Found()) Terminate(data);
    }
    ~FindHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA& data)
    {
        if (!FindNextFileA(handle_, &data)) return false;
        Terminate(data);
        return true;
    }

private:
    static void Terminate(WIN32_FIND_DATAA& data)
    {
        data.cFileName[sizeof data.cFileName - 1] = '\0';
        data.cAlternateFileName[sizeof data.cAlternateFileName - 1] = '\0';
    }

    HANDLE handle_;
};

class ScopedKey {
public:
    ScopedKey() = default;
    ~ScopedKey() { Close(); }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;

    bool Open(HKEY root, const char* subkey, REGSAM access)
    {
        Close();
        if (RegOpenKeyExA(root, subkey, 0, access, &key_) == ERROR_SUCCESS) return true;
        key_ = nullptr;
        return false;
    }
    HKEY Get() const { return key_; }
    LONG Close()
    {
        LONG result = key_ ? RegCloseKey(key_) : ERROR_SUCCESS;
        key_ = nullptr;
        return result;
    }

private:
    HKEY key_ = nullptr;
};

class ScopedLibrary {
public:
    explicit ScopedLibrary(const char* name) : module_(LoadLibraryA(name)) {}
    ~ScopedLibrary()
    {
        if (module_) FreeLibrary(module_);
    }
    ScopedLibrary(const ScopedLibrary&) = delete;
    ScopedLibrary& operator=(const ScopedLibrary&) = delete;

    bool IsLoaded() const { return module_ != nullptr; }
    HMODULE Get() const { return module_; }
    // The exported function `name` as a pointer of the caller's type F, or null. Used for the functions that
    // Windows 98 or NT 4 lack, so that the program does not import them.
    template <typename F>
    F* Resolve(const char* name) const
    {
        return module_ ? reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
    }

private:
    HMODULE module_;
};

// The export `function` of `library`, typed as the SDK declares it (calling convention included), or null.
// Every function the program resolves at run time goes through this, so a pointer of the wrong type cannot
// compile; the declaration is only looked at, never called, so the function is not imported.
#define RESOLVE_DECLARED(library, function) ((library).Resolve<decltype(::function)>(#function))
