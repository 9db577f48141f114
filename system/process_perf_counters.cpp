#include "system/process_perf_data.h"

#include <cstdlib>
#include <cstring>

#include "base/platform_text.h"
#include "base/text_buffer.h"

namespace {
constexpr size_t kCounterTextSize = 64;  // room for any index; longer strings are never indexes

// Copies the string at `list[at]`, which may run to the end of the list without a terminator.
size_t TakeString(const char* list, size_t size, size_t at, char (&out)[kCounterTextSize])
{
    size_t length = strnlen(list + at, size - at);
    size_t kept = length < kCounterTextSize ? length : kCounterTextSize - 1;
    std::memcpy(out, list + at, kept);
    out[kept] = '\0';
    return length;
}
}  // namespace

bool FindProcessIndexes(const char* list, size_t size, PerfProcessIndexes* indexes)
{
    *indexes = PerfProcessIndexes{};
    bool haveObject = false, haveCounter = false;
    char previous[kCounterTextSize] = "";
    char current[kCounterTextSize];
    for (size_t at = 0; at < size;) {
        at += TakeString(list, size, at, current) + 1;
        if (EqualsIgnoreCase(current, "process")) {
            haveObject = CopyText(indexes->processObject, previous) && previous[0] != '\0';
        } else if (EqualsIgnoreCase(current, "id process")) {
            indexes->processIdCounter = std::atol(previous);
            haveCounter = true;
        }
        CopyText(previous, current);
    }
    return haveObject && haveCounter;
}
