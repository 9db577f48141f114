#include "system/process_match.h"

#include <cstring>

#include "base/platform_text.h"
#include "base/text_buffer.h"

namespace {
constexpr size_t kShortPathSize = 264;

bool AllDigits(const char* text)
{
    if (*text == '\0') return false;
    for (; *text; ++text)
        if (*text < '0' || *text > '9') return false;
    return true;
}
}  // namespace

bool SameImagePath(const char* targetPath, const char* imagePath, ShortPathReader shortForm)
{
    if (EqualsIgnoreCase(imagePath, targetPath)) return true;
    if (!std::strchr(targetPath, '~') && !std::strchr(imagePath, '~')) return false;
    char shortTarget[kShortPathSize], shortImage[kShortPathSize];
    return shortForm(targetPath, shortTarget, sizeof shortTarget) &&
           shortForm(imagePath, shortImage, sizeof shortImage) && EqualsIgnoreCase(shortImage, shortTarget);
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
    if (length == 0 || !StartsWithIgnoreCase(instanceName, target, length)) return false;
    const char* rest = instanceName + length;
    return *rest == '\0' || (*rest == '#' && AllDigits(rest + 1));
}
