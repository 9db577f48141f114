// Size-checked text operations on fixed buffers. Each returns false, and leaves the buffer a valid
// (possibly shorter) NUL-terminated text, when the result would not fit; nothing is ever written past the end.
#pragma once

#include <cstdarg>
#include <cstddef>

bool CopyText(char* dst, size_t capacity, const char* src);
bool AppendText(char* dst, size_t capacity, const char* src);
// For texts that are only shown: copies as much of `src` as fits (capacity > 0), terminated, and returns the
// number of characters copied.
size_t CopyTextCut(char* dst, size_t capacity, const char* src);
// Copies the text of a fixed field that the system fills (szExeFile and the like), reading no byte beyond the
// field: a field left without its terminating zero is refused like a text that does not fit.
bool CopyFieldText(char* dst, size_t capacity, const char* field, size_t fieldSize);
bool FormatText(char* dst, size_t capacity, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

template <size_t N>
bool CopyText(char (&dst)[N], const char* src)
{
    return CopyText(dst, N, src);
}
template <size_t N, size_t M>
bool CopyFieldText(char (&dst)[N], const char (&field)[M])
{
    return CopyFieldText(dst, N, field, M);
}
template <size_t N>
bool AppendText(char (&dst)[N], const char* src)
{
    return AppendText(dst, N, src);
}
