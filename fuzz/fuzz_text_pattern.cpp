// The text-pattern engine over arbitrary files, against the shipped record and against a record taken from
// the input itself (hostile lengths, offsets and modes).
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/detection/text_pattern.h"

namespace {
class BufferSource : public TextSource {
public:
    BufferSource(const uint8_t* data, size_t size) : bytes_(data, data + size) {}
    bool Length(uint32_t* length) override
    {
        *length = static_cast<uint32_t>(bytes_.size());
        return true;
    }
    bool ReadAt(uint32_t offset, void* buffer, uint32_t count) override
    {
        if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
        if (count) std::memcpy(buffer, bytes_.data() + offset, count);
        return true;
    }

private:
    std::vector<uint8_t> bytes_;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    UnscrambleTextPatternsOnce();
    BufferSource whole(data, size);
    MatchTextPatterns(whole, TextPatternTable, kTextPatternCount);
    if (size < sizeof(TextPatternRecord)) return 0;
    TextPatternRecord record;
    std::memcpy(&record, data, sizeof record);
    BufferSource rest(data + sizeof record, size - sizeof record);
    MatchTextPatterns(rest, &record, 1);
    return 0;
}
