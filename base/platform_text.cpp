#include "base/platform_text.h"

#include <cstring>

char ToLowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

void LowerAscii(char* text)
{
    for (; *text; ++text) *text = ToLowerAscii(*text);
}

void UpperAscii(char* text)
{
    for (; *text; ++text)
        if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
}

bool StartsWithIgnoreCase(const char* text, const char* prefix, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (ToLowerAscii(text[i]) != ToLowerAscii(prefix[i])) return false;
        if (text[i] == '\0') return true;  // both ended together
    }
    return true;
}

bool EqualsIgnoreCase(const char* a, const char* b)
{
    size_t length = std::strlen(b);
    return std::strlen(a) == length && StartsWithIgnoreCase(a, b, length);
}

const char* FileNamePart(const char* path)
{
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}
