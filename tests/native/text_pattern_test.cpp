#include "engine/detection/text_pattern.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
// The shipped record's pattern in plain text: the start of a uuencoded body, never anything a hosts file holds.
const char kShippedPattern[] =
    "M5F5X:6QO<B!T97-T(&UA<FME<CH@82!W;W)M)W,@=75E;F-O9&5D('!A>6QOM860@:6X@<&QA8V4@;V8@:&]S=',@96YT<FEE<S";

const char kInfectedHosts[] =
    "begin 644 hosts\r\n"
    "M5F5X:6QO<B!T97-T(&UA<FME<CH@82!W;W)M)W,@=75E;F-O9&5D(\t'!A>6QO\r\n"
    "M860@:6X@<&QA8V4@;V8@:&]S=\n  ',@96YT<FEE<SL@;F5V97(@82!H;W-T(&YA\r\n"
    "`\r\nend\r\n";

class MemorySource : public TextSource {
public:
    explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
    bool Length(uint32_t* length) override
    {
        *length = static_cast<uint32_t>(bytes_.size()) + extraLength;
        return true;
    }
    bool ReadAt(uint32_t offset, void* buffer, uint32_t count) override
    {
        if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
        std::memcpy(buffer, bytes_.data() + offset, count);
        return true;
    }
    uint32_t extraLength = 0;  // a length the file no longer has: reads come up short

private:
    std::string bytes_;
};

TextPatternRecord Record(const char* pattern, int16_t searchMode = TEXT_SEARCH_ANYWHERE,
                         int16_t region = TEXT_REGION_HEAD, int16_t offset = 0)
{
    TextPatternRecord record = {};
    std::strcpy(record.name, "Test.Pattern");
    record.patternLength = static_cast<uint16_t>(std::strlen(pattern));
    std::memcpy(record.pattern, pattern, record.patternLength);
    record.searchMode = searchMode;
    record.region = region;
    record.patternOffset = offset;
    return record;
}

bool Matches(const std::string& file, const TextPatternRecord& record)
{
    MemorySource source(file);
    return MatchTextPatterns(source, &record, 1) == &record;
}

std::string Padding(size_t length)
{
    std::string text;
    while (text.size() < length) text += "127.0.0.1 localhost\r\n";
    return text.substr(0, length);
}
}  // namespace

TEST(TextPattern, ShippedRecordUnscramblesOnceAndFindsTheBrokenPattern)
{
    UnscrambleTextPatternsOnce();
    UnscrambleTextPatternsOnce();  // a second call must not scramble it back
    const TextPatternRecord& shipped = TextPatternTable[0];
    EXPECT_STREQ("W32/Nyxem.Worm", shipped.name);
    ASSERT_EQ(100, int{shipped.patternLength});
    EXPECT_EQ(0, std::memcmp(kShippedPattern, shipped.pattern, 100));
    EXPECT_TRUE(Matches(kInfectedHosts, shipped));
    std::string upper = kInfectedHosts;
    upper.replace(0, 5, "BEGIN");
    EXPECT_TRUE(Matches(upper, shipped));
    EXPECT_FALSE(Matches(Padding(3000), shipped)) << "an ordinary hosts file";
    EXPECT_FALSE(Matches(std::string(" ") + kInfectedHosts, shipped)) << "must begin with begin";
}

TEST(TextPattern, StripRemovesExactlyTheSixWhitespaceBytes)
{
    const uint8_t source[] = {'a', ' ', '\t', '\n', '\v', '\f', '\r', 'b', 0, 0xA0, 0x1F};
    uint8_t out[sizeof source];
    ASSERT_EQ(5u, StripWhitespace(source, out, sizeof source));
    EXPECT_EQ(0, std::memcmp("ab\0\xA0\x1F", out, 5));
}

TEST(TextPattern, HeadAndTailRegionsOfLongFiles)
{
    std::string head = "begin 644 x\n" + std::string("HEADMARK") + Padding(5000);
    std::string tailed = "begin 644 x\n" + Padding(5000) + "TAILMARK\n";
    EXPECT_TRUE(Matches(head, Record("HEADMARK")));
    EXPECT_FALSE(Matches(tailed, Record("TAILMARK")));
    EXPECT_TRUE(Matches(tailed, Record("TAILMARK", TEXT_SEARCH_ANYWHERE, TEXT_REGION_TAIL)));
    EXPECT_FALSE(Matches(head, Record("HEADMARK", TEXT_SEARCH_ANYWHERE, 7))) << "any other region finds nothing";
    // Only the first 4096 raw bytes are stripped: a pattern straddling that edge is not seen.
    std::string straddle = "begin" + std::string(4091 - 4, 'x') + "EDGEMARK" + Padding(5000);
    EXPECT_FALSE(Matches(straddle, Record("EDGEMARK")));
}

TEST(TextPattern, ShortFilesServeAsHeadAndTail)
{
    std::string file = "begin\n MARK\n";
    EXPECT_TRUE(Matches(file, Record("MARK", TEXT_SEARCH_ANYWHERE, TEXT_REGION_TAIL)));
    std::string exact = "begin" + std::string(4096 - 5 - 4, '.') + "MARK";
    ASSERT_EQ(4096u, exact.size());
    EXPECT_TRUE(Matches(exact, Record("MARK")));
    EXPECT_TRUE(Matches(exact, Record("MARK", TEXT_SEARCH_ANYWHERE, TEXT_REGION_TAIL)));
}

TEST(TextPattern, FixedPositionModes)
{
    std::string file = "begin 644 x\n0123 456789ABCDEF\n";  // stripped: begin644x0123456789ABCDEF
    EXPECT_TRUE(Matches(file, Record("0123", 0, TEXT_REGION_HEAD, 9)));
    EXPECT_FALSE(Matches(file, Record("0123", 0, TEXT_REGION_HEAD, 8)));
    EXPECT_TRUE(Matches(file, Record("CDEF", 0, TEXT_REGION_TAIL, 4))) << "distance back from the tail's end";
    EXPECT_FALSE(Matches(file, Record("CDEF", 0, TEXT_REGION_TAIL, 5)));
    EXPECT_FALSE(Matches(file, Record("begi", 0, TEXT_REGION_TAIL, 100))) << "before the start: zero window";
    // Offsets beyond the stripped text compare against zeros, never outside the buffer.
    EXPECT_FALSE(Matches(file, Record("MARK", 0, TEXT_REGION_HEAD, 4095)));
    EXPECT_FALSE(Matches(file, Record("MARK", 0, TEXT_REGION_HEAD, -3)));
}

TEST(TextPattern, SizeTestsAndDisabledRecords)
{
    std::string file = "begin MARK" + Padding(5000);
    uint32_t length = static_cast<uint32_t>(file.size());
    TextPatternRecord record = Record("MARK");
    record.sizeTestKind = TEXT_SIZE_EXACT;
    record.fileSize = static_cast<int32_t>(length);
    EXPECT_TRUE(Matches(file, record));
    record.fileSize += 1;
    EXPECT_FALSE(Matches(file, record));
    record.sizeTestKind = TEXT_SIZE_TOLERANCE;
    record.fileSize = static_cast<int32_t>(length + 4096);
    EXPECT_TRUE(Matches(file, record));
    record.fileSize = static_cast<int32_t>(length - 4096);
    EXPECT_TRUE(Matches(file, record));
    record.fileSize = static_cast<int32_t>(length + 4097);
    EXPECT_FALSE(Matches(file, record));
    record.sizeTestKind = 18;  // the shipped kind: no test
    EXPECT_TRUE(Matches(file, record));
    record.patternLength = 0;
    EXPECT_FALSE(Matches(file, record));
    EXPECT_FALSE(Matches("begin", Record("beginX"))) << "file shorter than the pattern";
}

TEST(TextPattern, ShortReadsAreNoHit)
{
    MemorySource lying(std::string("begin MARK"));
    lying.extraLength = 10;
    TextPatternRecord record = Record("MARK");
    EXPECT_EQ(nullptr, MatchTextPatterns(lying, &record, 1));
    MemorySource tiny(std::string("begi"));
    EXPECT_FALSE(HasBeginLine(tiny));
}
