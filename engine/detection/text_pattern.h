// The second detection engine, for text files that begin with "begin" (a uuencoded attachment): whitespace is
// stripped from the first and the last 4096 bytes, and the stripped text is searched for a record's pattern,
// so a match survives any breaking of the encoded text into lines.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/detection/pe_reader.h"

constexpr int kTextPatternSize = 100;
constexpr uint32_t kTextWindowSize = 4096;

enum TextRegion : int16_t { TEXT_REGION_HEAD = 0, TEXT_REGION_TAIL = 1 };
constexpr int16_t TEXT_SEARCH_ANYWHERE = 1;  // any other searchMode compares at patternOffset
constexpr int16_t TEXT_SIZE_EXACT = 16;
constexpr int16_t TEXT_SIZE_TOLERANCE = 17;  // within 4096 bytes either way, both ends included

#pragma pack(push, 1)
struct TextPatternRecord {
    char name[25];
    int32_t fileSize;
    int16_t patternOffset;   // fixed-position mode: into the head, or back from the end of the tail
    uint16_t patternLength;  // at most kTextPatternSize; 0 disables the record
    int16_t region;
    uint8_t pattern[kTextPatternSize];  // scrambled until UnscrambleTextPatternsOnce
    int16_t searchMode;
    int16_t reserved1;
    int16_t sizeTestKind;
    int16_t reserved2;
    uint8_t reserved3[27];
};
#pragma pack(pop)

static_assert(sizeof(TextPatternRecord) == 170 && offsetof(TextPatternRecord, fileSize) == 25 &&
                  offsetof(TextPatternRecord, patternOffset) == 29 &&
                  offsetof(TextPatternRecord, patternLength) == 31 && offsetof(TextPatternRecord, region) == 33 &&
                  offsetof(TextPatternRecord, pattern) == 35 && offsetof(TextPatternRecord, searchMode) == 135 &&
                  offsetof(TextPatternRecord, sizeTestKind) == 139 && offsetof(TextPatternRecord, reserved3) == 143,
              "a text-pattern record is 170 packed bytes, each field at its offset");

// The shipped table ("W32/Nyxem.Worm"); its pattern is stored combined with a one-byte key.
constexpr size_t kTextPatternCount = 1;
extern TextPatternRecord TextPatternTable[kTextPatternCount];

// A file being examined, with its length. Both calls fail on any error; a short read is a failure.
class TextSource : public RandomAccessFile {
public:
    virtual bool Length(uint32_t* length) = 0;
};

// Copies every byte that is not a blank, tab, line feed, vertical tab, form feed or carriage return; returns
// the number copied.
size_t StripWhitespace(const uint8_t* source, uint8_t* destination, size_t length);
// The file's first five bytes are "begin", ignoring case.
bool HasBeginLine(TextSource& file);
// The first record of `table` whose pattern the file carries, or null.
const TextPatternRecord* MatchTextPatterns(TextSource& file, const TextPatternRecord* table, size_t count);
// XORs the first patternLength bytes of the record's pattern with `key`, in place.
void UnscramblePattern(TextPatternRecord& record, uint8_t key);
// Unscrambles the shipped table on the first call only, so the pattern is never scrambled back.
void UnscrambleTextPatternsOnce();
