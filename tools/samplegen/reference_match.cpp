#include "tools/samplegen/reference_match.h"

#include <cstring>

namespace {

bool StringAt(RandomAccessFile& file, int32_t length, const PeHeaders& headers, int32_t relative,
              const uint8_t* pattern)
{
    const uint32_t rva = static_cast<uint32_t>(static_cast<int64_t>(headers.addressOfEntryPoint) + relative);
    uint8_t bytes[kPatternLength];
    return file.ReadAt(RvaToFileOffset(rva, headers, static_cast<uint32_t>(length)), bytes, kPatternLength) &&
           std::memcmp(bytes, pattern, kPatternLength) == 0;
}

}  // namespace

const SignatureRecord* MatchByTableScan(const SignatureRecord* table, RandomAccessFile& file, int32_t length,
                                        const PeHeaders& headers)
{
    if (length < 0) return nullptr;
    for (const SignatureRecord* record = table; record->name[0] != '\0'; ++record) {
        const int64_t difference = int64_t{record->fileSize} - length;
        const bool sizeOk = (record->sizeTest == 1 && difference == 0) ||
                            (record->sizeTest == 2 && difference > -4096 && difference < 4096) || record->sizeTest == 3;
        if (sizeOk && StringAt(file, length, headers, record->firstOffset, record->firstPattern) &&
            StringAt(file, length, headers, record->secondOffset, record->secondPattern))
            return record;
    }
    return nullptr;
}
