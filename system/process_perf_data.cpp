#include "system/process_perf_data.h"

#include <cstring>

#include "base/text_buffer.h"
#include "system/perf_data_layout.h"

namespace {
using namespace perf_layout;

constexpr size_t kNameCharacters = 260;

// A view of untrusted bytes: every read is checked, and offsets are added without wrapping.
class Block {
public:
    Block(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Holds(size_t at, size_t length) const { return at <= size_ && length <= size_ - at; }
    bool Read32(size_t at, uint32_t* value) const
    {
        if (!Holds(at, 4)) return false;
        std::memcpy(value, data_ + at, 4);
        return true;
    }
    // base + the 32-bit field at base + field, when it stays inside the block.
    bool Follow(size_t base, size_t field, size_t* target) const
    {
        uint32_t delta;
        if (!Read32(base + field, &delta) || !Holds(base, delta)) return false;
        *target = base + delta;
        return true;
    }
    const uint8_t* At(size_t at) const { return data_ + at; }
    size_t Size() const { return size_; }

private:
    const uint8_t* data_;
    size_t size_;
};

bool FindCounterOffset(const Block& block, size_t object, uint32_t counterIndex, uint32_t* offset)
{
    size_t counter;
    uint32_t count;
    if (!block.Follow(object, kObjectHeaderLength, &counter) || !block.Read32(object + kObjectNumCounters, &count))
        return false;
    for (uint32_t i = 0; i < count && block.Holds(counter, kCounterDefinitionSize); ++i) {
        uint32_t index = 0;
        block.Read32(counter + kCounterNameIndex, &index);
        if (index == counterIndex) return block.Read32(counter + kCounterOffset, offset);
        counter += kCounterDefinitionSize;
    }
    return false;
}

void ReadInstanceName(const Block& block, size_t instance, PerfNameConverter convert, char* name)
{
    size_t text;
    uint32_t byteLength;
    uint16_t characters[kNameCharacters];
    size_t count = 0;
    if (block.Follow(instance, kInstanceNameOffset, &text) &&
        block.Read32(instance + kInstanceNameLength, &byteLength)) {
        size_t available = (block.Size() - text) / 2;
        size_t limit = byteLength / 2 < available ? byteLength / 2 : available;
        if (limit > kNameCharacters) limit = kNameCharacters;
        while (count < limit) {
            std::memcpy(&characters[count], block.At(text + 2 * count), 2);
            if (characters[count] == 0) break;
            ++count;
        }
    }
    char converted[kNameCharacters];
    if (!convert(characters, count, converted, sizeof converted)) CopyText(converted, "unknown");
    if (std::strlen(converted) <= kPerfNameLength) CopyText(name, kPerfNameLength + 1, converted);
}
}  // namespace

size_t ReadPerfProcessTable(const uint8_t* data, size_t size, uint32_t processIdCounter, PerfNameConverter convert,
                            PerfProcessEntry* rows, size_t capacity)
{
    Block block(data, size);
    static const uint8_t kSignature[] = {'P', 0, 'E', 0, 'R', 0, 'F', 0};
    size_t object;
    uint32_t counterOffset, instances = 0;
    if (!block.Holds(0, sizeof kSignature) || std::memcmp(data, kSignature, sizeof kSignature) != 0) return 0;
    if (!block.Follow(0, kBlockHeaderLength, &object) || !block.Holds(object, kObjectSize)) return 0;
    if (!FindCounterOffset(block, object, processIdCounter, &counterOffset)) return 0;
    block.Read32(object + kObjectNumInstances, &instances);  // a negative count reads as huge: capped below
    size_t limit = instances < kPerfMaxInstances ? instances : kPerfMaxInstances;
    if (limit > capacity) limit = capacity;

    size_t instance, filled = 0;
    if (!block.Follow(object, kObjectDefinitionLength, &instance)) return 0;
    while (filled < limit && block.Holds(instance, kInstanceSize)) {
        size_t counters;
        uint32_t processId, countersLength;
        if (!block.Follow(instance, kInstanceByteLength, &counters)) break;
        if (!block.Holds(counters, counterOffset) || !block.Read32(counters + counterOffset, &processId)) break;
        PerfProcessEntry& row = rows[filled++];
        row = PerfProcessEntry{};
        row.processId = processId == 0 ? kPerfIdNone : processId;
        ReadInstanceName(block, instance, convert, row.name);
        if (!block.Read32(counters, &countersLength) || !block.Holds(counters, countersLength)) break;
        instance = counters + countersLength;
    }
    return filled;
}
