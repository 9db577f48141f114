// The performance-data block walk over hostile registry data: the first four bytes choose the process-id
// counter index, the rest is the block, in a buffer of exactly its size.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "system/process_perf_data.h"

namespace {
bool Narrow(const uint16_t* text, size_t count, char* out, size_t outSize)
{
    if (count >= outSize) return false;
    for (size_t i = 0; i < count; ++i) out[i] = static_cast<char>(text[i] & 0x7F ? text[i] & 0x7F : '?');
    out[count] = '\0';
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4) return 0;
    uint32_t counter;
    std::memcpy(&counter, data, 4);
    std::vector<uint8_t> block(data + 4, data + size);
    PerfProcessEntry rows[kPerfTableRows];
    size_t filled = ReadPerfProcessTable(block.data(), block.size(), counter, Narrow, rows, kPerfTableRows);
    if (filled > kPerfMaxInstances) std::abort();
    for (size_t i = 0; i < filled; ++i)
        if (strnlen(rows[i].name, sizeof rows[i].name) > kPerfNameLength || rows[i].processId == 0) std::abort();
    return 0;
}
