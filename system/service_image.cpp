#include "system/service_image.h"

#include <cstring>

#include "base/platform_text.h"
#include "base/text_buffer.h"

namespace {

struct SystemString {
    const char* name;
    size_t length;  // of the value: the whole system root, or its drive
};

// The service manager's environment is the system's, not the program's: only what is the same in both, the
// system root and its drive, is expanded here.
bool ExpandSystemStrings(const char* text, const char* systemRoot, char (&out)[kServiceImageTextSize])
{
    const SystemString known[] = {
        {"SystemRoot", std::strlen(systemRoot)}, {"windir", std::strlen(systemRoot)}, {"SystemDrive", 2}};
    out[0] = '\0';
    size_t used = 0;
    while (*text) {
        const char* close = text[0] == '%' ? std::strchr(text + 1, '%') : nullptr;
        if (!close) {  // plain text, or a lone percent sign, which stays as it is
            if (used + 1 >= sizeof out) return false;
            out[used++] = *text++;
            out[used] = '\0';
            continue;
        }
        const SystemString* match = nullptr;
        for (const SystemString& string : known) {
            const size_t nameLength = std::strlen(string.name);
            if (static_cast<size_t>(close - text - 1) == nameLength &&
                StartsWithIgnoreCase(text + 1, string.name, nameLength))
                match = &string;
        }
        if (!match || std::strlen(systemRoot) < 2 || used + match->length >= sizeof out) return false;
        std::memcpy(out + used, systemRoot, match->length);
        used += match->length;
        out[used] = '\0';
        text = close + 1;
    }
    return true;
}

// The full path that one image token names.
bool FullImagePath(const char* token, size_t length, const char* systemRoot, char (&path)[kTextBufferSize])
{
    char given[kTextBufferSize];
    if (length >= sizeof given) return false;
    std::memcpy(given, token, length);
    given[length] = '\0';
    const char* rest = given;
    if (StartsWithIgnoreCase(rest, "\\??\\", 4)) rest += 4;
    bool built;
    if (StartsWithIgnoreCase(rest, "\\SystemRoot\\", 12))
        built = FormatText(path, sizeof path, "%s%s", systemRoot, rest + 11);
    else if ((rest[0] != '\0' && rest[1] == ':') || StartsWithIgnoreCase(rest, "\\\\", 2))
        built = CopyText(path, rest);
    else if (rest[0] == '\\')
        built = FormatText(path, sizeof path, "%.2s%s", systemRoot, rest);
    else
        built = FormatText(path, sizeof path, "%s\\%s", systemRoot, rest);
    if (!built) return false;
    return std::strchr(FileNamePart(path), '.') || AppendText(path, ".exe");
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

bool ServiceImageFile(const char* configured, bool expandable, const ServiceImageFacts& facts,
                      char (&path)[kTextBufferSize])
{
    path[0] = '\0';
    char text[kServiceImageTextSize];
    if (expandable ? !ExpandSystemStrings(configured, facts.systemRoot, text) : !CopyText(text, configured))
        return false;
    const char* start = text;
    while (IsBlank(*start)) ++start;
    if (*start == '"') {
        ++start;
        const char* close = std::strchr(start, '"');
        const size_t length = close ? static_cast<size_t>(close - start) : std::strlen(start);
        if (FullImagePath(start, length, facts.systemRoot, path) && facts.fileExists(path)) return true;
    } else {
        for (const char* end = start;; ++end) {
            if (*end != '\0' && !IsBlank(*end)) continue;
            if (end > start && FullImagePath(start, static_cast<size_t>(end - start), facts.systemRoot, path) &&
                facts.fileExists(path))
                return true;
            if (*end == '\0') break;
        }
    }
    path[0] = '\0';
    return false;
}
