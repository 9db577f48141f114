// Matching an open PE file against the signature table, size first.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/detection/pe_reader.h"
#include "engine/detection/signature_record.h"

// The file lengths, from 0 to INT32_MAX, that a record's size test accepts; lowest > highest when it accepts
// none (an unknown size test, or a window that lies wholly below 0).
struct LengthRange {
    int64_t lowest;
    int64_t highest;
};
LengthRange AcceptedLengths(const SignatureRecord& record);
bool SizeTestPasses(const SignatureRecord& record, int32_t length);

// The rva of a byte string `relative` bytes from the entry point, and the file offset at which the matcher reads
// it in a file of `length` bytes.
uint32_t StringRva(const PeHeaders& headers, int32_t relative);
uint32_t StringFileOffset(const PeHeaders& headers, uint32_t length, int32_t relative);

// An index of a table by file size, built once: the candidates for a length are found by binary search
// instead of a pass over the whole table, and are tried in table order. Matching allocates nothing.
class SignatureIndex {
public:
    // `table` ends with an empty-name record and must outlive the index.
    explicit SignatureIndex(const SignatureRecord* table);

    // True when some record's size test accepts `length`; a file of any other length can never match. A
    // negative length, or one that does not fit in a signed 32-bit value, is accepted by nothing.
    bool AcceptsLength(int64_t length) const;

    // The first record in table order whose size test and both byte strings match, or nullptr. `headers`
    // must come from a successful ReadPeHeaders on the same file. A failed read fails only that record.
    const SignatureRecord* Match(RandomAccessFile& file, int32_t length, const PeHeaders& headers) const;

private:
    struct SizedEntry {
        int32_t fileSize;
        uint32_t tableIndex;
    };

    bool AnyLengthRecordAccepts(int32_t length) const;

    const SignatureRecord* table_;
    std::vector<SizedEntry> exactSizes_;      // records with an exact size test, by (fileSize, tableIndex)
    std::vector<uint32_t> anyLengthRecords_;  // tolerance and no-size-test records, in table order
};

// The index over the shipped table.
const SignatureIndex& ShippedSignatureIndex();

// The first matching record of the shipped table, or nullptr. Valid only after ReadPeHeaders succeeded.
const SignatureRecord* MatchSignatureTable(RandomAccessFile& file, int32_t length, const PeHeaders& headers);
