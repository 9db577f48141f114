#include "system/platform.h"

namespace {
constexpr unsigned long kPlatformIdWindows = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr unsigned long kPlatformIdNt = 2;       // VER_PLATFORM_WIN32_NT
}  // namespace

int PlatformCodeFor(unsigned long platformId)
{
    if (platformId == kPlatformIdWindows) return PLATFORM_WIN9X;
    if (platformId == kPlatformIdNt) return PLATFORM_NT;
    return PLATFORM_OTHER;
}

int NtGenerationFor(unsigned long platformId, unsigned long majorVersion)
{
    if (platformId != kPlatformIdNt) return NT_GENERATION_NONE;
    if (majorVersion <= 4) return NT_GENERATION_4;
    if (majorVersion == 5) return NT_GENERATION_5;
    return NT_GENERATION_NONE;
}
