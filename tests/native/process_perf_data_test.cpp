#include "system/process_perf_data.h"

#include "system/process_match.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {
std::string List(std::initializer_list<const char*> strings)
{
    std::string list;
    for (const char* s : strings) list.append(s, std::strlen(s) + 1);
    return list + '\0';
}

bool Find(const std::string& list, PerfProcessIndexes* indexes)
{
    return FindProcessIndexes(list.data(), list.size(), indexes);
}
}  // namespace

TEST(PerfCounters, FindsTheProcessObjectAndTheIdCounter)
{
    PerfProcessIndexes indexes;
    ASSERT_TRUE(Find(List({"1", "1847", "230", "Process", "784", "ID Process", "786", "Job"}), &indexes));
    EXPECT_STREQ("230", indexes.processObject);
    EXPECT_EQ(784, indexes.processIdCounter);
    ASSERT_TRUE(Find(List({"784", "id process", "230", "PROCESS", "9", "Process"}), &indexes));
    EXPECT_STREQ("9", indexes.processObject) << "the last occurrence wins";
}

TEST(PerfCounters, MissingNamesOrIndexesFindNothing)
{
    PerfProcessIndexes indexes;
    EXPECT_FALSE(Find(List({"230", "Process"}), &indexes));
    EXPECT_FALSE(Find(List({"784", "ID Process"}), &indexes));
    EXPECT_FALSE(Find(List({"Process", "784", "ID Process"}), &indexes)) << "no index before the name";
    EXPECT_FALSE(Find(List({"12345678901234567890", "Process", "784", "ID Process"}), &indexes));
    // Wine's list: four strings, neither name.
    EXPECT_FALSE(Find(List({"1", "1847", "2", "System"}), &indexes));
}

TEST(PerfCounters, AListWithoutItsLastTerminatorIsReadWithinItsSize)
{
    const char text[] =
        "230\0Process\0"
        "784\0ID Process";
    std::vector<char> exact(text, text + sizeof text - 1);  // no byte after the end for a sanitizer to forgive
    PerfProcessIndexes indexes;
    ASSERT_TRUE(FindProcessIndexes(exact.data(), exact.size(), &indexes));
    EXPECT_EQ(784, indexes.processIdCounter);
    EXPECT_FALSE(FindProcessIndexes(exact.data(), 0, &indexes));
}

namespace {
constexpr uint32_t kIdCounter = 784;
constexpr uint32_t kIdOffset = 8;

struct Instance {
    std::u16string name;
    uint32_t processId;
};

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    if (bytes.size() < at + 4) bytes.resize(at + 4);
    std::memcpy(&bytes[at], &value, 4);
}

// A performance-data block with one process object laid out as Windows does.
std::vector<uint8_t> Block(const std::vector<Instance>& instances, uint32_t counterIndex = kIdCounter,
                           int32_t declaredInstances = -2)
{
    std::vector<uint8_t> b(64, 0);
    const char16_t perf[] = u"PERF";
    std::memcpy(b.data(), perf, 8);
    Put32(b, 24, 64);  // block header length
    const size_t object = 64;
    Put32(b, object + 8, 64);       // object header length
    Put32(b, object + 4, 64 + 80);  // definition length: header and two counter definitions
    Put32(b, object + 32, 2);       // counters
    Put32(b, object + 40,
          declaredInstances == -2 ? static_cast<uint32_t>(instances.size()) : static_cast<uint32_t>(declaredInstances));
    Put32(b, object + 60, 0);
    Put32(b, object + 64 + 4, 6);  // "% Processor Time"
    Put32(b, object + 64 + 36, 0);
    Put32(b, object + 104 + 4, counterIndex);
    Put32(b, object + 104 + 36, kIdOffset);
    for (const Instance& instance : instances) {
        size_t at = b.size();
        uint32_t nameBytes = static_cast<uint32_t>((instance.name.size() + 1) * 2);
        uint32_t length = (24 + nameBytes + 7) & ~7u;
        Put32(b, at + 0, length);
        Put32(b, at + 16, 24);
        Put32(b, at + 20, nameBytes);
        b.resize(at + length, 0);
        std::memcpy(&b[at + 24], instance.name.data(), nameBytes - 2);
        Put32(b, at + length, 16);  // counter block
        Put32(b, at + length + kIdOffset, instance.processId);
        b.resize(at + length + 16, 0);
    }
    return b;
}

bool Narrow(const uint16_t* text, size_t count, char* out, size_t outSize)
{
    if (count >= outSize) return false;
    for (size_t i = 0; i < count; ++i) out[i] = text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    out[count] = '\0';
    return true;
}

bool Fail(const uint16_t*, size_t, char*, size_t)
{
    return false;
}

std::vector<PerfProcessEntry> Read(const std::vector<uint8_t>& block, PerfNameConverter convert = Narrow)
{
    std::vector<PerfProcessEntry> rows(kPerfTableRows);
    rows.resize(ReadPerfProcessTable(block.data(), block.size(), kIdCounter, convert, rows.data(), rows.size()));
    return rows;
}
}  // namespace

TEST(PerfDataWalk, ReadsNamesAndProcessIds)
{
    auto rows = Read(Block({{u"Idle", 0}, {u"ABC", 0x120}, {u"abcd", 0x124}, {u"ABC#1", 0x128}}));
    ASSERT_EQ(4u, rows.size());
    EXPECT_STREQ("Idle", rows[0].name);
    EXPECT_EQ(kPerfIdNone, rows[0].processId) << "process id 0 is stored as 0xFFFFFFFE";
    EXPECT_STREQ("abcd", rows[2].name);
    EXPECT_EQ(0x128u, rows[3].processId);
}

// The rows a road acts on: a system process whose name merely begins with an infected file's is not one.
TEST(PerfDataWalk, OnlyTheTargetAndItsNumberedCopiesAreTaken)
{
    auto rows = Read(Block({{u"lsass", 4},
                            {u"svchost", 8},
                            {u"winlogon", 12},
                            {u"abcd", 16},
                            {u"ABC", 20},
                            {u"abc#1", 24},
                            {u"System", 28}}));
    ASSERT_EQ(7u, rows.size());
    const std::pair<const char*, std::vector<uint32_t>> cases[] = {
        {"LSA", {}}, {"SV", {}}, {"WIN", {}}, {"ABC", {20, 24}}, {"LSASS", {4}}};
    for (const auto& [target, expected] : cases) {
        std::vector<uint32_t> taken;
        for (const PerfProcessEntry& row : rows)
            if (PerfInstanceMatches(row.name, target)) taken.push_back(row.processId);
        EXPECT_EQ(expected, taken) << target;
    }
}

TEST(PerfDataWalk, NamesLongerThanSixteenCharactersAreLeftEmpty)
{
    auto rows = Read(Block({{u"ABCDEFGHIJKLMNOP", 8}, {u"ABCDEFGHIJKLMNOPQ", 12}}));
    ASSERT_EQ(2u, rows.size());
    EXPECT_STREQ("ABCDEFGHIJKLMNOP", rows[0].name);
    EXPECT_STREQ("", rows[1].name);
    EXPECT_EQ(12u, rows[1].processId);
}

TEST(PerfDataWalk, AFailedConversionNamesTheRowUnknown)
{
    auto rows = Read(Block({{u"ABC", 8}}), Fail);
    ASSERT_EQ(1u, rows.size());
    EXPECT_STREQ("unknown", rows[0].name);
}

TEST(PerfDataWalk, OnlyTheFirst254InstancesAreRead)
{
    std::vector<Instance> many;
    for (uint32_t i = 0; i < 300; ++i) many.push_back({u"p" + std::u16string(1, u'a' + i % 26), 4 * (i + 1)});
    auto rows = Read(Block(many));
    ASSERT_EQ(kPerfMaxInstances, rows.size());
    EXPECT_EQ(4u * 254, rows.back().processId);
    // A negative count is taken as unsigned and capped: the walk then ends at the block's end.
    EXPECT_EQ(3u, Read(Block({{u"a", 1}, {u"b", 2}, {u"c", 3}}, kIdCounter, -5)).size());
}

TEST(PerfDataWalk, NoProcessIdCounterOrNoSignatureGivesAnEmptyTable)
{
    EXPECT_TRUE(Read(Block({{u"ABC", 8}}, 999)).empty());
    auto block = Block({{u"ABC", 8}});
    block[0] = 'Q';
    EXPECT_TRUE(Read(block).empty());
    EXPECT_TRUE(Read({}).empty());
}

TEST(PerfDataWalk, TruncatedBlocksNeverReadPastTheirEnd)
{
    auto full = Block({{u"Idle", 0}, {u"ABC", 8}, {u"explorer", 12}});
    for (size_t size = 0; size <= full.size(); ++size) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + size);  // exact allocation for the sanitizer
        EXPECT_LE(Read(cut).size(), 3u) << size;
    }
    EXPECT_EQ(3u, Read(full).size());
}

TEST(PerfDataWalk, HostileOffsetsEndTheWalk)
{
    auto block = Block({{u"ABC", 8}, {u"DEF", 12}});
    auto hostile = block;
    Put32(hostile, 24, 0xFFFFFFF0u);  // block header length
    EXPECT_TRUE(Read(hostile).empty());
    hostile = block;
    Put32(hostile, 64 + 4, 0x7FFFFFFFu);  // object definition length
    EXPECT_TRUE(Read(hostile).empty());
    hostile = block;
    Put32(hostile, 64 + 104 + 36, 0xFFFFFFFCu);  // counter offset
    EXPECT_TRUE(Read(hostile).empty());
    hostile = block;
    size_t first = 64 + 144;
    Put32(hostile, first + 16, 0x10000);  // name offset outside: the row is still read, unnamed
    Put32(hostile, first + 20, 0xFFFF);
    auto rows = Read(hostile);
    ASSERT_EQ(2u, rows.size());
    EXPECT_STREQ("", rows[0].name);
    hostile = block;
    Put32(hostile, first + 32, 0xFFFFFF00u);  // first counter block's length: no second instance
    EXPECT_EQ(1u, Read(hostile).size());
}
