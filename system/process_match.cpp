#include "system/process_match.h"

#include <cstring>

#include "base/platform_text.h"
#include "base/text_buffer.h"

bool ToolhelpNameMatches(const char* targetPath, const char* exeFile)
{
    return EqualsIgnoreCase(FileNamePart(exeFile), FileNamePart(targetPath));
}

bool PsapiPathMatches(const char* targetPath, const char* imagePath)
{
    return EqualsIgnoreCase(imagePath, targetPath);
}

bool PerfDataTarget(const char* path, char (&target)[kPerfTargetSize])
{
    target[0] = '\0';
    char upper[kPerfTargetSize];
    if (!CopyText(upper, path)) return false;
    UpperAscii(upper);
    size_t length = std::strlen(upper);
    if (length <= 4) return false;
    upper[length - 4] = '\0';  // the extension with its dot, whatever those four characters are
    CopyText(target, FileNamePart(upper));
    return target[0] != '\0';
}

bool PerfInstanceMatches(const char* instanceName, const char* target)
{
    size_t length = std::strlen(target);
    return length > 0 && StartsWithIgnoreCase(instanceName, target, length);
}
