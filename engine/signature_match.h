// Matching an open PE file against the signature table, size first.
#pragma once

#include <cstdint>

#include "engine/pe_reader.h"
#include "engine/signature_record.h"

// An index of a table by file size, built once: the candidates for a length are found without a pass over
// the whole table, in table order.
class SignatureIndex {
public:
    explicit SignatureIndex(const SignatureRecord* table);  // table ends with an empty-name record
    // True when some record's size test accepts `length`; a file of any other length can never match.
    bool AcceptsLength(int64_t length) const;
    // The first record in table order whose size test and both byte strings match, or nullptr.
    const SignatureRecord* Match(RandomAccessFile& file, int32_t length, const PeHeaders& headers) const;
    // ... private members as the implementation needs (fixed arrays or one allocation at construction)
};

// The index over the shipped table.
const SignatureIndex& ShippedSignatureIndex();

// The first matching record of the shipped table, or nullptr. Valid only after ReadPeHeaders succeeded.
const SignatureRecord* MatchSignatureTable(RandomAccessFile& file, int32_t length, const PeHeaders& headers);
