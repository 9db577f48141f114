#include "repair/service_keys.h"

#include "base/text_buffer.h"

namespace {

struct ServiceKeyPart {
    const char* prefix;
    const char* suffix;
};

// Registry names ignore case: the capitals of the fourth prefix name the same key as the fifth and sixth.
constexpr ServiceKeyPart kParts[kServiceKeyDeletions] = {
    {"SYSTEM\\ControlSet001\\Services\\", "\\Enum"},     {"SYSTEM\\ControlSet001\\Services\\", "\\Security"},
    {"SYSTEM\\ControlSet001\\Services\\", ""},           {"SYSTEM\\CONTROLSET002\\SERVICES\\", "\\Enum"},
    {"SYSTEM\\ControlSet002\\Services\\", "\\Security"}, {"SYSTEM\\ControlSet002\\Services\\", ""},
};

}  // namespace

bool ServiceKeyPath(int step, const char* name, char (&path)[kServiceKeyPathSize])
{
    path[0] = '\0';
    if (step < 0 || step >= kServiceKeyDeletions || name[0] == '\0') return false;
    return FormatText(path, sizeof path, "%s%s%s", kParts[step].prefix, name, kParts[step].suffix);
}
