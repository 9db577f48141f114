#include "system/service_image.h"

#include <windows.h>

#include <cstring>

#include "base/platform_handles.h"
#include "base/registry_value.h"
#include "base/text_buffer.h"
#include "system/process_access.h"

namespace {

bool IsFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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
    if (!ReadValueText(key.Get(), "ImagePath", configured, sizeof configured, &type) ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    char root[MAX_PATH];
    if (!SystemRoot(root)) return false;
    const ServiceImageFacts facts = {root, IsFile};
    char file[kTextBufferSize];
    return ServiceImageFile(configured, type == REG_EXPAND_SZ, facts, file) && IsImagePath(imagePath, file);
}

bool ServiceConfiguresImage(const char* name, const char* imagePath)
{
    char keyPath[kServiceImageTextSize];
    return FormatText(keyPath, sizeof keyPath, "SYSTEM\\CurrentControlSet\\Services\\%s", name) &&
           ServiceKeyConfiguresImage(keyPath, imagePath);
}
