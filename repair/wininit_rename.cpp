#include "repair/wininit_rename.h"

#include "base/platform_text.h"

namespace {
bool IsRenameSection(const std::string& content, size_t lineStart, size_t lineEnd)
{
    static const char kSection[] = "[rename]";
    constexpr size_t kLength = sizeof kSection - 1;
    if (lineEnd - lineStart < kLength) return false;
    for (size_t i = 0; i < kLength; ++i)
        if (ToLowerAscii(content[lineStart + i]) != kSection[i]) return false;
    return true;
}
}  // namespace

std::string AddWininitEntry(const std::string& content, const std::string& entry, const std::string& target)
{
    const std::string entryLine = entry + "=" + target + "\r\n";
    std::string result;
    result.reserve(content.size() + entryLine.size() + 12);
    bool inSection = false, written = false;
    for (size_t start = 0; start < content.size();) {
        size_t newline = content.find('\n', start);
        size_t end = newline == std::string::npos ? content.size() : newline + 1;
        if (!written && !inSection) {
            inSection = IsRenameSection(content, start, end);
        } else if (!written && content[start] == '[') {
            result += entryLine;
            written = true;
        }
        result.append(content, start, end - start);
        start = end;
    }
    if (!written) {
        if (!result.empty() && result.back() != '\n') result += "\r\n";
        if (!inSection) result += "[rename]\r\n";
        result += entryLine;
    }
    return result;
}
