#include "engine/listed_length.h"

int64_t TrustedListedLength(uint32_t attributes, uint32_t sizeHigh, uint32_t sizeLow)
{
    if (attributes & kReparsePointAttribute) return -1;
    return static_cast<int64_t>((static_cast<uint64_t>(sizeHigh) << 32) | sizeLow);
}
