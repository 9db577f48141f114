#include "engine/detection/text_pattern.h"

#include <cstring>

namespace {
// The stripped first and last 4096 bytes of a file; bytes past the stripped length are zero.
struct StrippedText {
    uint8_t head[kTextWindowSize];
    uint8_t tail[kTextWindowSize];
    size_t headLength;
    size_t tailLength;
};

bool IsStrippedByte(uint8_t c)
{
    return c == 0x20 || (c >= 0x09 && c <= 0x0D);
}

bool ReadStripped(TextSource& file, uint32_t length, StrippedText* text)
{
    uint8_t raw[kTextWindowSize];
    *text = StrippedText{};
    if (length < kTextWindowSize) {
        if (!file.ReadAt(0, raw, length)) return false;
        text->headLength = text->tailLength = StripWhitespace(raw, text->head, length);
        std::memcpy(text->tail, text->head, kTextWindowSize);
        return true;
    }
    if (!file.ReadAt(0, raw, kTextWindowSize)) return false;
    text->headLength = StripWhitespace(raw, text->head, kTextWindowSize);
    if (!file.ReadAt(length - kTextWindowSize, raw, kTextWindowSize)) return false;
    text->tailLength = StripWhitespace(raw, text->tail, kTextWindowSize);
    return true;
}

bool PassesSizeTest(const TextPatternRecord& record, uint32_t length)
{
    int64_t actual = length, expected = record.fileSize;
    if (record.sizeTestKind == TEXT_SIZE_EXACT) return actual == expected;
    if (record.sizeTestKind == TEXT_SIZE_TOLERANCE)
        return expected >= actual - kTextWindowSize && expected <= actual + kTextWindowSize;
    return true;
}

// Any other region leaves the work window as it was cleared: all zero.
const uint8_t* RegionText(const StrippedText& text, int16_t region)
{
    static const uint8_t kCleared[kTextWindowSize] = {};
    if (region == TEXT_REGION_HEAD) return text.head;
    if (region == TEXT_REGION_TAIL) return text.tail;
    return kCleared;
}

bool SearchAnywhere(const TextPatternRecord& record, const StrippedText& text, uint32_t windowLength)
{
    const uint8_t* region = RegionText(text, record.region);
    size_t length = record.patternLength;
    for (size_t at = 0; at < windowLength && at + length <= kTextWindowSize; ++at) {
        const void* first = std::memchr(region + at, record.pattern[0], kTextWindowSize - length + 1 - at);
        if (!first) return false;
        at = static_cast<const uint8_t*>(first) - region;
        if (at >= windowLength) return false;
        if (std::memcmp(region + at, record.pattern, length) == 0) return true;
    }
    return false;
}

bool CompareAtOffset(const TextPatternRecord& record, const StrippedText& text)
{
    uint8_t window[kTextPatternSize] = {};
    const uint8_t* region = RegionText(text, record.region);
    int64_t start = -1;
    if (record.region == TEXT_REGION_HEAD) start = record.patternOffset;
    if (record.region == TEXT_REGION_TAIL) start = static_cast<int64_t>(text.tailLength) - record.patternOffset;
    // Only bytes inside the stripped buffer are copied; anything beyond it counts as zero.
    if (start >= 0 && start < static_cast<int64_t>(kTextWindowSize)) {
        size_t available = kTextWindowSize - static_cast<size_t>(start);
        std::memcpy(window, region + start, available < kTextPatternSize ? available : kTextPatternSize);
    }
    return std::memcmp(window, record.pattern, record.patternLength) == 0;
}
}  // namespace

size_t StripWhitespace(const uint8_t* source, uint8_t* destination, size_t length)
{
    size_t kept = 0;
    for (size_t i = 0; i < length; ++i)
        if (!IsStrippedByte(source[i])) destination[kept++] = source[i];
    return kept;
}

bool HasBeginLine(TextSource& file)
{
    uint32_t length;
    char start[5];
    if (!file.Length(&length) || !file.ReadAt(0, start, sizeof start)) return false;
    static const char kBegin[] = "begin";
    for (size_t i = 0; i < sizeof start; ++i)
        if ((start[i] | 0x20) != kBegin[i]) return false;
    return true;
}

const TextPatternRecord* MatchTextPatterns(TextSource& file, const TextPatternRecord* table, size_t count)
{
    uint32_t length;
    if (!HasBeginLine(file) || !file.Length(&length)) return nullptr;
    static StrippedText text;  // 8 KB: kept off the stack of the scan's deep call chain
    if (!ReadStripped(file, length, &text)) return nullptr;
    uint32_t windowLength = length < kTextWindowSize ? length : kTextWindowSize;
    for (size_t i = 0; i < count; ++i) {
        const TextPatternRecord& record = table[i];
        if (record.patternLength == 0 || record.patternLength > kTextPatternSize) continue;
        if (length < record.patternLength || !PassesSizeTest(record, length)) continue;
        bool hit = record.searchMode == TEXT_SEARCH_ANYWHERE ? SearchAnywhere(record, text, windowLength)
                                                             : CompareAtOffset(record, text);
        if (hit) return &record;
    }
    return nullptr;
}

void UnscramblePattern(TextPatternRecord& record, uint8_t key)
{
    size_t length = record.patternLength < kTextPatternSize ? record.patternLength : kTextPatternSize;
    for (size_t i = 0; i < length; ++i) record.pattern[i] ^= key;
}
