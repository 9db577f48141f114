// The Counters list walk over a multi-string that may lack terminators or hold anything at all.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "system/process_perf_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> list(data, data + size);
    PerfProcessIndexes indexes;
    if (FindProcessIndexes(list.data(), list.size(), &indexes) &&
        (indexes.processObject[0] == '\0' || strnlen(indexes.processObject, kPerfIndexSize) >= kPerfIndexSize))
        std::abort();
    return 0;
}
