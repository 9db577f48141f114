#include "repair/run_value.h"

#include <cstring>

namespace {
bool StartsName(const char* text, const char* at)
{
    return at == text || at[-1] == ' ' || at[-1] == '"' || at[-1] == '\\';
}

// Where a file name ends, for a full path and a bare name alike: the end, a blank, a quote, a comma, or a
// switch straight after it ("evil.exe/s") or a tab. Neither a slash nor a control character can continue a
// file name.
bool EndsName(char c)
{
    return c == '\0' || c == ' ' || c == '"' || c == ',' || c == '/' || static_cast<unsigned char>(c) < 0x20;
}

bool BeginsWithPath(const char* command, const char* path, size_t length)
{
    if (*command == '"') ++command;
    return std::strncmp(command, path, length) == 0 && EndsName(command[length]);
}

bool InSystemFolder(const char* path)
{
    return std::strstr(path, "\\system\\") || std::strstr(path, "\\system32\\");
}
}  // namespace

bool ContainsWholeName(const char* text, const char* name)
{
    size_t length = std::strlen(name);
    if (length == 0) return false;
    for (const char* at = std::strstr(text, name); at; at = std::strstr(at + 1, name))
        if (StartsName(text, at) && EndsName(at[length])) return true;
    return false;
}

RunValueVerdict JudgeRunValue(const char* infectedPath, const char* data, const char* expanded)
{
    const char* slash = std::strrchr(infectedPath, '\\');
    if (!slash) return RUN_VALUE_KEEP;
    bool bare = !std::strchr(data, '\\') || data[0] == '\\';
    if (bare && ContainsWholeName(data, slash + 1))
        return InSystemFolder(infectedPath) ? RUN_VALUE_BARE_NAME : RUN_VALUE_KEEP;
    size_t length = std::strlen(infectedPath);
    if (BeginsWithPath(data, infectedPath, length) || BeginsWithPath(expanded, infectedPath, length))
        return RUN_VALUE_FULL_PATH;
    return RUN_VALUE_KEEP;
}
