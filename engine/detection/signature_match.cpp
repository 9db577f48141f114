#include "engine/detection/signature_match.h"

#include <algorithm>
#include <cstring>

namespace {

bool PatternAt(RandomAccessFile& file, uint32_t length, const PeHeaders& headers, int32_t relative,
               const uint8_t (&pattern)[kPatternLength])
{
    uint8_t bytes[kPatternLength];
    if (!file.ReadAt(StringFileOffset(headers, length, relative), bytes, kPatternLength)) return false;
    return std::memcmp(bytes, pattern, kPatternLength) == 0;
}

bool PatternsMatch(RandomAccessFile& file, uint32_t length, const PeHeaders& headers, const SignatureRecord& record)
{
    return PatternAt(file, length, headers, record.firstOffset, record.firstPattern) &&
           PatternAt(file, length, headers, record.secondOffset, record.secondPattern);
}

}  // namespace

// Bounds are taken in 64 bits: a 32-bit sum or difference could wrap a far length into the tolerance window.
LengthRange AcceptedLengths(const SignatureRecord& record)
{
    const int64_t size = record.fileSize;
    LengthRange range = {1, 0};  // an unknown size test accepts nothing
    if (record.sizeTest == SIZE_TEST_EXACT)
        range = {size, size};
    else if (record.sizeTest == SIZE_TEST_TOLERANCE)
        range = {size - kSizeTolerance + 1, size + kSizeTolerance - 1};
    else if (record.sizeTest == SIZE_TEST_NONE)
        range = {0, INT32_MAX};
    return {std::max<int64_t>(range.lowest, 0), std::min<int64_t>(range.highest, INT32_MAX)};
}

bool SizeTestPasses(const SignatureRecord& record, int32_t length)
{
    const LengthRange accepted = AcceptedLengths(record);
    return length >= accepted.lowest && length <= accepted.highest;
}

uint32_t StringRva(const PeHeaders& headers, int32_t relative)
{
    // Signed 32-bit addition to the entry point, wrapping, then taken as an unsigned rva.
    return headers.addressOfEntryPoint + static_cast<uint32_t>(relative);
}

uint32_t StringFileOffset(const PeHeaders& headers, uint32_t length, int32_t relative)
{
    return RvaToFileOffset(StringRva(headers, relative), headers, length);
}

SignatureIndex::SignatureIndex(const SignatureRecord* table) : table_(table)
{
    for (uint32_t i = 0; table[i].name[0] != '\0'; ++i) {
        const int32_t sizeTest = table[i].sizeTest;
        if (sizeTest == SIZE_TEST_EXACT)
            exactSizes_.push_back({table[i].fileSize, i});
        else if (sizeTest == SIZE_TEST_TOLERANCE || sizeTest == SIZE_TEST_NONE)
            anyLengthRecords_.push_back(i);
        // Any other size test never matches: the record is left out.
    }
    // Stable by table index within one size, so equal sizes keep table order.
    std::sort(exactSizes_.begin(), exactSizes_.end(), [](const SizedEntry& a, const SizedEntry& b) {
        return a.fileSize != b.fileSize ? a.fileSize < b.fileSize : a.tableIndex < b.tableIndex;
    });
}

bool SignatureIndex::AnyLengthRecordAccepts(int32_t length) const
{
    for (uint32_t index : anyLengthRecords_)
        if (SizeTestPasses(table_[index], length)) return true;
    return false;
}

bool SignatureIndex::AcceptsLength(int64_t length) const
{
    if (length < 0 || length > INT32_MAX) return false;
    const int32_t length32 = static_cast<int32_t>(length);
    const auto first = std::lower_bound(exactSizes_.begin(), exactSizes_.end(), length32,
                                        [](const SizedEntry& entry, int32_t size) { return entry.fileSize < size; });
    if (first != exactSizes_.end() && first->fileSize == length32) return true;
    return AnyLengthRecordAccepts(length32);
}

const SignatureRecord* SignatureIndex::Match(RandomAccessFile& file, int32_t length, const PeHeaders& headers) const
{
    if (length < 0) return nullptr;
    auto exact = std::lower_bound(exactSizes_.begin(), exactSizes_.end(), length,
                                  [](const SizedEntry& entry, int32_t size) { return entry.fileSize < size; });
    auto any = anyLengthRecords_.begin();

    // Merge the exact-size candidates with the any-length records, in table order.
    for (;;) {
        const bool exactLeft = exact != exactSizes_.end() && exact->fileSize == length;
        const bool anyLeft = any != anyLengthRecords_.end();
        if (!exactLeft && !anyLeft) return nullptr;
        uint32_t index;
        if (exactLeft && (!anyLeft || exact->tableIndex < *any))
            index = (exact++)->tableIndex;
        else
            index = *any++;
        const SignatureRecord& record = table_[index];
        if (SizeTestPasses(record, length) && PatternsMatch(file, static_cast<uint32_t>(length), headers, record))
            return &record;
    }
}

const SignatureIndex& ShippedSignatureIndex()
{
    static const SignatureIndex index(SignatureTable);
    return index;
}

const SignatureRecord* MatchSignatureTable(RandomAccessFile& file, int32_t length, const PeHeaders& headers)
{
    return ShippedSignatureIndex().Match(file, length, headers);
}
