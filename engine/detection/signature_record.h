// One record of the built-in signature table: a known sample's exact length and two 20-byte strings at fixed
// distances from its entry point. The layout is the table's on-disk form: 108 bytes, packed, little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kPatternLength = 20;

enum SizeTest : int32_t {
    SIZE_TEST_EXACT = 1,      // the file's length equals fileSize
    SIZE_TEST_TOLERANCE = 2,  // fileSize - length lies strictly between -4096 and 4096
    SIZE_TEST_NONE = 3,       // any length
};
constexpr int32_t kSizeTolerance = 4096;

#pragma pack(push, 1)
struct SignatureRecord {
    char name[50];
    int32_t firstOffset;  // relative to the entry point, in bytes of the loaded image
    uint8_t firstPattern[kPatternLength];
    uint8_t firstTerminator;
    int32_t secondOffset;
    uint8_t secondPattern[kPatternLength];
    uint8_t secondTerminator;
    int32_t fileSize;
    int32_t sizeTest;
};
#pragma pack(pop)

static_assert(sizeof(SignatureRecord) == 108 && offsetof(SignatureRecord, firstOffset) == 50 &&
                  offsetof(SignatureRecord, firstPattern) == 54 && offsetof(SignatureRecord, secondOffset) == 75 &&
                  offsetof(SignatureRecord, secondPattern) == 79 && offsetof(SignatureRecord, fileSize) == 100 &&
                  offsetof(SignatureRecord, sizeTest) == 104,
              "a signature record is 108 packed bytes, each field at its offset");

// The shipped table, in its fixed order, ended by a record whose name is empty.
extern const SignatureRecord SignatureTable[];
