#include "bench/flat_sample.h"

#include <algorithm>
#include <cstring>

#include "engine/detection/pe_reader.h"
#include "tools/samplegen/sample_pe.h"

namespace {

constexpr uint32_t kHeadersSize = 0x400;
constexpr uint32_t kSectionStart = 0x1000;
constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kCodeCharacteristics = 0xE0000060;

int64_t AlignUp(int64_t value, int64_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

}  // namespace

bool BuildFlatSample(const SignatureRecord& record, std::vector<uint8_t>& image, std::string* error)
{
    const int64_t low = std::min<int64_t>({0, record.firstOffset, record.secondOffset});
    const int64_t high = std::max<int64_t>(
        {1, int64_t{record.firstOffset} + kPatternLength, int64_t{record.secondOffset} + kPatternLength});
    const int64_t rawSize = AlignUp(high - low, kFileAlignment);
    if (kHeadersSize + rawSize > record.fileSize) {
        if (error) *error = "the strings do not fit in one section within the record's length";
        return false;
    }

    PeImageSpec plan;
    plan.fileLength = static_cast<uint32_t>(record.fileSize);
    plan.entryPoint = static_cast<uint32_t>(kSectionStart - low);
    plan.sizeOfHeaders = kHeadersSize;
    plan.sizeOfImage = static_cast<uint32_t>(AlignUp(kSectionStart + rawSize, kSectionAlignment));
    SampleSection text{};
    std::memcpy(text.name, ".text", 6);
    text.virtualSize = text.sizeOfRawData = static_cast<uint32_t>(rawSize);
    text.virtualAddress = kSectionStart;
    text.pointerToRawData = kHeadersSize;
    text.characteristics = kCodeCharacteristics;
    plan.sections.push_back(text);

    image = EmitPeImage(plan);
    const int64_t entryAt = kHeadersSize - low;  // file offset of the entry point
    image[entryAt] = 0xC3;                       // ret, unless a string covers it below
    std::memcpy(image.data() + entryAt + record.firstOffset, record.firstPattern, kPatternLength);
    std::memcpy(image.data() + entryAt + record.secondOffset, record.secondPattern, kPatternLength);
    return true;
}
