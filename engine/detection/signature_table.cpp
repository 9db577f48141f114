// The shipped signature table. The rows live in signature_rows.inc as readable text and are turned into
// packed records at compile time, so the table is plain constant data in the program image.
#include <cstddef>

#include "engine/detection/signature_record.h"

namespace {

// Throwing during constant evaluation stops the compilation: a malformed row is a build error.
constexpr uint8_t HexDigit(char c)
{
    if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<uint8_t>(c - 'a' + 10);
    throw "a signature pattern holds a character that is not a hexadecimal digit";
}

// "01 B2 ... 6F": 20 bytes, two digits each, one blank between them (the array type fixes the length).
constexpr void ParsePattern(const char (&hex)[3 * kPatternLength], uint8_t (&pattern)[kPatternLength])
{
    for (int i = 0; i < kPatternLength; ++i) {
        const char separator = hex[3 * i + 2];
        if (separator != (i + 1 < kPatternLength ? ' ' : '\0'))
            throw "signature pattern bytes are separated by one blank";
        pattern[i] = static_cast<uint8_t>(HexDigit(hex[3 * i]) << 4 | HexDigit(hex[3 * i + 1]));
    }
}

template <size_t N>
constexpr SignatureRecord Row(const char (&name)[N], int32_t firstOffset, const char (&firstHex)[3 * kPatternLength],
                              int32_t secondOffset, const char (&secondHex)[3 * kPatternLength], int32_t fileSize,
                              int32_t sizeTest)
{
    static_assert(N > 1 && N <= sizeof(SignatureRecord::name), "a detection name has 1 to 49 characters");
    SignatureRecord record{};
    for (size_t i = 0; i < N; ++i) record.name[i] = name[i];
    record.firstOffset = firstOffset;
    ParsePattern(firstHex, record.firstPattern);
    record.secondOffset = secondOffset;
    ParsePattern(secondHex, record.secondPattern);
    record.fileSize = fileSize;
    record.sizeTest = sizeTest;
    return record;
}

}  // namespace

extern constexpr SignatureRecord SignatureTable[] = {
#define SIGNATURE_ROW(...) Row(__VA_ARGS__),
#include "engine/detection/signature_rows.inc"
#undef SIGNATURE_ROW
    SignatureRecord{},  // the terminating record: empty name
};
