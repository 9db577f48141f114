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
    int32_t firstOffset;   // relative to the entry point, in bytes of the loaded image
    uint8_t firstPattern[kPatternLength];
    uint8_t firstTerminator;
    int32_t secondOffset;
    uint8_t secondPattern[kPatternLength];
    uint8_t secondTerminator;
    int32_t fileSize;
    int32_t sizeTest;
};
#pragma pack(pop)

static_assert(sizeof(SignatureRecord) == 108, "a signature record is 108 bytes");
static_assert(offsetof(SignatureRecord, firstOffset) == 50, "firstOffset at 50");
static_assert(offsetof(SignatureRecord, firstPattern) == 54, "firstPattern at 54");
static_assert(offsetof(SignatureRecord, secondOffset) == 75, "secondOffset at 75");
static_assert(offsetof(SignatureRecord, secondPattern) == 79, "secondPattern at 79");
static_assert(offsetof(SignatureRecord, fileSize) == 100, "fileSize at 100");
static_assert(offsetof(SignatureRecord, sizeTest) == 104, "sizeTest at 104");

// The shipped table, in its fixed order, ended by a record whose name is empty.
extern const SignatureRecord SignatureTable[];
