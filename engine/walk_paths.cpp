#include "engine/walk_paths.h"

#include <cstring>

#include "base/text_buffer.h"

namespace {

constexpr size_t kRootPatternLength = 6;  // "C:\*.*"

}  // namespace

bool JoinAtLastDot(const char* pattern, const char* name, const char* suffix, char* out, size_t capacity)
{
    const char* dot = std::strrchr(pattern, '.');
    if (!dot) return false;
    size_t keep = dot > pattern ? static_cast<size_t>(dot - pattern) - 1 : 0;
    if (keep >= capacity) return false;
    std::memcpy(out, pattern, keep);
    out[keep] = '\0';
    return AppendText(out, capacity, name) && AppendText(out, capacity, suffix);
}

bool DirectoryPattern(const char* pattern, char* out, size_t capacity)
{
    if (!CopyText(out, capacity, pattern)) return false;
    if (char* dot = std::strrchr(out, '.')) dot[1] = '\0';
    return AppendText(out, capacity, "*");
}

void ShortenPathForDisplay(const char* source, char* destination, size_t capacity, int16_t maximum)
{
    if (capacity == 0) return;
    int half = maximum / 2 - 1;
    size_t length = std::strlen(source);
    if (length > static_cast<size_t>(maximum > 0 ? maximum : 0) && half > 0 &&
        static_cast<size_t>(maximum) < capacity) {
        size_t dots = static_cast<size_t>(maximum - 2 * half);
        std::memcpy(destination, source, half);
        std::memset(destination + half, '.', dots);
        std::memcpy(destination + half + dots, source + length - half, half);
        destination[maximum] = '\0';
        return;
    }
    // Only a display text: show as much as fits rather than nothing.
    CopyTextCut(destination, capacity, source);
}

bool ProgramFilesFolder(const char* pattern, char* out, size_t capacity)
{
    if (std::strlen(pattern) > kRootPatternLength) return false;
    const char* colon = std::strchr(pattern, ':');
    if (!colon) return false;
    size_t keep = static_cast<size_t>(colon - pattern) + 1;
    if (keep >= capacity) return false;
    std::memcpy(out, pattern, keep);
    out[keep] = '\0';
    return AppendText(out, capacity, "\\Program Files");
}

bool IsInsideProgramFiles(const char* subPattern)
{
    return std::strstr(subPattern, "\\Program Files\\") != nullptr;
}
