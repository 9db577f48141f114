// The PE reader and the signature matcher over arbitrary files: the shipped table, and a small table made
// from the input itself, whose size index must agree with a plain pass over the table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/detection/signature_match.h"
#include "tools/samplegen/memory_file.h"
#include "tools/samplegen/reference_match.h"
#include "tools/samplegen/sample_pe.h"

namespace {

constexpr int kRecords = 4;
constexpr size_t kControlBytesPerRecord = 8;

int16_t Le16(const uint8_t* at)
{
    return static_cast<int16_t>(at[0] | at[1] << 8);
}

// Records steered by the input's last bytes. Their patterns are copied from where the matcher will look, so
// that many of them match and the comparison paths are exercised; every third one is spoiled.
void MakeTable(const uint8_t* data, size_t size, const PeHeaders& headers, SignatureRecord (&table)[kRecords + 1])
{
    std::memset(table, 0, sizeof table);
    const uint8_t* control = data + size - kRecords * kControlBytesPerRecord;
    for (int i = 0; i < kRecords; ++i, control += kControlBytesPerRecord) {
        const int32_t offsets[2] = {Le16(control), Le16(control + 2)};
        uint8_t patterns[2][kPatternLength] = {};
        for (int k = 0; k < 2; ++k) {
            const uint32_t rva = headers.addressOfEntryPoint + static_cast<uint32_t>(offsets[k]);
            const uint32_t at = RvaToFileOffset(rva, headers, static_cast<uint32_t>(size));
            if (uint64_t{at} + kPatternLength <= size) std::memcpy(patterns[k], data + at, kPatternLength);
        }
        if (control[4] % 3 == 0) patterns[control[4] & 1][control[5] % kPatternLength] ^= 1;
        const int32_t fileSize = static_cast<int32_t>(size) + static_cast<int8_t>(control[6]) * 256;
        table[i] = MakeRecord("fuzz", offsets[0], patterns[0], offsets[1], patterns[1], fileSize, control[7] % 5);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > INT32_MAX) return 0;
    const int32_t length = static_cast<int32_t>(size);
    MemoryFile file(data, size);
    PeHeaders headers;
    const bool isPe = ReadPeHeaders(file, headers) == 1;
    if (isPe) {
        const SignatureRecord* hit = MatchSignatureTable(file, length, headers);
        if (hit && !ShippedSignatureIndex().AcceptsLength(length)) std::abort();
    }

    if (size < kRecords * kControlBytesPerRecord) return 0;
    SignatureRecord table[kRecords + 1];
    MakeTable(data, size, headers, table);
    const SignatureIndex index(table);
    for (int32_t probe : {length, length - 1, length + 4095, length - 4096}) {
        const SignatureRecord* expected = MatchByTableScan(table, file, probe, headers);
        if (index.Match(file, probe, headers) != expected) std::abort();
        if (expected && !index.AcceptsLength(probe)) std::abort();
    }
    return 0;
}
