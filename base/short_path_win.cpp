#include "base/short_path.h"

#include <windows.h>

bool ShortPathOf(const char* path, char* out, size_t size)
{
    const DWORD length = GetShortPathNameA(path, out, static_cast<DWORD>(size));
    return length > 0 && length < size;
}
