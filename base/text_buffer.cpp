#include "base/text_buffer.h"

#include <cstdio>
#include <cstring>

bool CopyText(char* dst, size_t capacity, const char* src)
{
    if (capacity == 0) return false;
    size_t length = std::strlen(src);
    if (length >= capacity) {
        dst[0] = '\0';
        return false;
    }
    std::memcpy(dst, src, length + 1);
    return true;
}

bool CopyFieldText(char* dst, size_t capacity, const char* field, size_t fieldSize)
{
    if (strnlen(field, fieldSize) == fieldSize) {
        if (capacity > 0) dst[0] = '\0';
        return false;
    }
    return CopyText(dst, capacity, field);
}

size_t CopyTextCut(char* dst, size_t capacity, const char* src)
{
    size_t length = std::strlen(src);
    if (length > capacity - 1) length = capacity - 1;
    std::memcpy(dst, src, length);
    dst[length] = '\0';
    return length;
}

bool AppendText(char* dst, size_t capacity, const char* src)
{
    size_t used = strnlen(dst, capacity);
    if (used >= capacity) return false;
    size_t length = std::strlen(src);
    if (used + length >= capacity) return false;
    std::memcpy(dst + used, src, length + 1);
    return true;
}

bool FormatText(char* dst, size_t capacity, const char* format, ...)
{
    if (capacity == 0) return false;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(dst, capacity, format, args);
    va_end(args);
    if (written < 0 || static_cast<size_t>(written) >= capacity) {
        dst[0] = '\0';
        return false;
    }
    return true;
}
