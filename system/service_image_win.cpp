#include "system/service_image.h"

#include <windows.h>

#include <cstring>

#include "base/platform_handles.h"
#include "base/platform_text.h"
#include "base/text_buffer.h"

namespace {

bool IsFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ShortForm(const char* path, char (&shortPath)[MAX_PATH])
{
    const DWORD length = GetShortPathNameA(path, shortPath, sizeof shortPath);
    return length != 0 && length < sizeof shortPath;
}

// Short names are unique within a folder, so two existing paths with the same short form are one file.
bool SameFile(const char* a, const char* b)
{
    if (EqualsIgnoreCase(a, b)) return true;
    char shortA[MAX_PATH];
    char shortB[MAX_PATH];
    return ShortForm(a, shortA) && ShortForm(b, shortB) && EqualsIgnoreCase(shortA, shortB);
}

// The system directory is the system root's System32 on every NT, also where each user has a Windows
// directory of their own.
bool SystemRoot(char (&root)[MAX_PATH])
{
    const UINT length = GetSystemDirectoryA(root, sizeof root);
    if (length == 0 || length >= sizeof root) return false;
    char* slash = std::strrchr(root, '\\');
    if (!slash || slash - root < 2) return false;
    *slash = '\0';
    return true;
}

}  // namespace

bool ServiceKeyConfiguresImage(const char* serviceKeyPath, const char* imagePath)
{
    ScopedKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, serviceKeyPath, KEY_QUERY_VALUE)) return false;
    char configured[kServiceImageTextSize];
    DWORD type = 0;
    DWORD size = sizeof configured - 1;
    if (RegQueryValueExA(key.Get(), "ImagePath", nullptr, &type, reinterpret_cast<BYTE*>(configured), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    configured[size] = '\0';  // a value may be stored without its terminator
    char root[MAX_PATH];
    if (!SystemRoot(root)) return false;
    const ServiceImageFacts facts = {root, IsFile};
    char file[kTextBufferSize];
    return ServiceImageFile(configured, type == REG_EXPAND_SZ, facts, file) && SameFile(file, imagePath);
}

bool ServiceConfiguresImage(const char* name, const char* imagePath)
{
    char keyPath[kServiceImageTextSize];
    return FormatText(keyPath, sizeof keyPath, "SYSTEM\\CurrentControlSet\\Services\\%s", name) &&
           ServiceKeyConfiguresImage(keyPath, imagePath);
}
