#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "engine/detection/signature_match.h"
#include "tools/samplegen/memory_file.h"
#include "tools/samplegen/reference_match.h"
#include "tools/samplegen/sample_pe.h"

namespace {

constexpr int32_t kLength = 0x3000;
constexpr uint32_t kEntry = 0x1100;

// A PE file of kLength bytes, one section [0x1000, 0x3000) at raw 0x400, filled with counting bytes, so that
// any 20 bytes of it can serve as a pattern.
struct TestFile {
    std::vector<uint8_t> bytes;
    PeHeaders headers;

    TestFile()
    {
        PeImageSpec plan;
        plan.fileLength = kLength;
        plan.entryPoint = kEntry;
        plan.sizeOfHeaders = 0x400;
        SampleSection section{};
        section.virtualAddress = 0x1000;
        section.virtualSize = 0x2000;
        section.pointerToRawData = 0x400;
        section.sizeOfRawData = kLength - 0x400;
        plan.sections.push_back(section);
        bytes = EmitPeImage(plan);
        for (uint32_t i = 0x400; i < kLength; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
        MemoryFile file(bytes);
        EXPECT_EQ(1, ReadPeHeaders(file, headers));
    }

    // The 20 bytes the matcher finds at `relative` from the entry point.
    void PatternAt(int32_t relative, uint8_t (&pattern)[kPatternLength]) const
    {
        const uint32_t offset = RvaToFileOffset(kEntry + static_cast<uint32_t>(relative), headers, kLength);
        for (int i = 0; i < kPatternLength; ++i)
            pattern[i] = offset + i < bytes.size() ? bytes[offset + i] : static_cast<uint8_t>(0xA5);
    }

    SignatureRecord Record(const char* name, int32_t first, int32_t second, int32_t size, int32_t sizeTest) const
    {
        uint8_t firstPattern[kPatternLength], secondPattern[kPatternLength];
        PatternAt(first, firstPattern);
        PatternAt(second, secondPattern);
        return MakeRecord(name, first, firstPattern, second, secondPattern, size, sizeTest);
    }

    const SignatureRecord* Match(const std::vector<SignatureRecord>& table, int32_t length = kLength)
    {
        MemoryFile file(bytes);
        return SignatureIndex(table.data()).Match(file, length, headers);
    }
};

std::vector<SignatureRecord> Table(std::initializer_list<SignatureRecord> records)
{
    std::vector<SignatureRecord> table(records);
    table.push_back(SignatureRecord{});
    return table;
}

}  // namespace

TEST(SignatureMatch, BothStringsAndTheSizeMustMatch)
{
    TestFile file;
    SignatureRecord record = file.Record("hit", -0x80, 0x300, kLength, SIZE_TEST_EXACT);
    EXPECT_STREQ("hit", file.Match(Table({record}))->name);

    SignatureRecord wrongFirst = record;
    wrongFirst.firstPattern[19] ^= 1;
    SignatureRecord wrongSecond = record;
    wrongSecond.secondPattern[0] ^= 1;
    SignatureRecord wrongSize = record;
    wrongSize.fileSize += 1;
    EXPECT_EQ(nullptr, file.Match(Table({wrongFirst, wrongSecond, wrongSize})));
}

TEST(SignatureMatch, EarlierRecordWinsWhenTwoMatch)
{
    TestFile file;
    const SignatureRecord a = file.Record("first in table", 0, 0x40, kLength, SIZE_TEST_EXACT);
    const SignatureRecord b = file.Record("second in table", -0x100, 0x10, kLength, SIZE_TEST_EXACT);
    const SignatureRecord any = file.Record("any length", 0x20, 0x30, 1, SIZE_TEST_NONE);
    EXPECT_STREQ("first in table", file.Match(Table({a, b}))->name);
    EXPECT_STREQ("second in table", file.Match(Table({b, a}))->name);
    // Exact-size and any-length records are merged in table order.
    EXPECT_STREQ("any length", file.Match(Table({any, a, b}))->name);
    EXPECT_STREQ("second in table", file.Match(Table({b, any, a}))->name);
}

TEST(SignatureMatch, SizeTests)
{
    TestFile file;
    struct Case {
        int32_t fileSize;
        int32_t sizeTest;
        bool hit;
    };
    const int32_t l = kLength;
    const Case cases[] = {
        {l, 1, true},         {l + 1, 1, false},    {l - 1, 1, false},    {l + 4095, 2, true},
        {l - 4095, 2, true},  {l + 4096, 2, false}, {l - 4096, 2, false}, {0, 3, true},
        {INT32_MIN, 3, true}, {l, 0, false},        {l, 4, false},        {l, -1, false},
    };
    for (const Case& c : cases) {
        const SignatureRecord record = file.Record("r", 0, 0x20, c.fileSize, c.sizeTest);
        EXPECT_EQ(c.hit, file.Match(Table({record})) != nullptr) << c.fileSize - l << " test " << c.sizeTest;
    }
}

TEST(SignatureMatch, ToleranceIsNotFooledByThirtyTwoBitWrapping)
{
    // INT32_MIN - INT32_MAX wraps to 1 in 32 bits; the real difference is far outside the window.
    const SignatureRecord record = TestFile().Record("r", 0, 0x20, INT32_MIN, SIZE_TEST_TOLERANCE);
    EXPECT_FALSE(SignatureIndex(Table({record}).data()).AcceptsLength(INT32_MAX));
}

TEST(SignatureMatch, AcceptsOnlyLengthsSomeRecordCanMatch)
{
    TestFile file;
    const std::vector<SignatureRecord> exactTable =
        Table({file.Record("a", 0, 0, 5000, 1), file.Record("b", 0, 0, 9000, 1), file.Record("c", 0, 0, 123, 7)});
    const SignatureIndex exact(exactTable.data());
    EXPECT_TRUE(exact.AcceptsLength(5000));
    EXPECT_TRUE(exact.AcceptsLength(9000));
    EXPECT_FALSE(exact.AcceptsLength(5001));
    EXPECT_FALSE(exact.AcceptsLength(123)) << "a record with an unknown size test never matches";
    EXPECT_FALSE(exact.AcceptsLength(0));

    const std::vector<SignatureRecord> tolerantTable = Table({file.Record("t", 0, 0, 10000, 2)});
    const SignatureIndex tolerant(tolerantTable.data());
    EXPECT_TRUE(tolerant.AcceptsLength(10000 - 4095));
    EXPECT_TRUE(tolerant.AcceptsLength(10000 + 4095));
    EXPECT_FALSE(tolerant.AcceptsLength(10000 + 4096));

    const std::vector<SignatureRecord> anyTable = Table({file.Record("n", 0, 0, 1, 3)});
    const SignatureIndex any(anyTable.data());
    EXPECT_TRUE(any.AcceptsLength(0));
    EXPECT_TRUE(any.AcceptsLength(INT32_MAX));
    EXPECT_FALSE(any.AcceptsLength(int64_t{INT32_MAX} + 1)) << "the runtime cannot report such a length";
    EXPECT_FALSE(any.AcceptsLength(-1));
}

TEST(SignatureMatch, AFailedReadFailsOnlyThatRecord)
{
    TestFile file;
    SignatureRecord unreachable = file.Record("unreachable", 0, 0x20, kLength, 1);
    unreachable.firstOffset = 0x7FFFF000;  // maps past the end, then to a raw rva of 2^31 and more
    SignatureRecord pastEnd = file.Record("past the end", 0, 0x2AF6, kLength, 1);  // 10 bytes before the end
    const SignatureRecord good = file.Record("good", 0, 0x20, kLength, 1);
    EXPECT_STREQ("good", file.Match(Table({unreachable, pastEnd, good}))->name);
}

TEST(SignatureMatch, ALengthNoRecordAcceptsCostsNoRead)
{
    // A table as large as the shipped one: each file pays a binary search, not a pass over 972 records.
    TestFile file;
    std::vector<SignatureRecord> table;
    for (int i = 0; i < 972; ++i) table.push_back(file.Record("row", -0x40, 0x100, 6656 + 17 * i, 1));
    table.push_back(file.Record("last", -0x40, 0x100, kLength, 1));
    table.push_back(SignatureRecord{});
    const SignatureIndex index(table.data());

    MemoryFile disk(file.bytes);
    EXPECT_EQ(nullptr, index.Match(disk, kLength + 1, file.headers));
    EXPECT_EQ(0, disk.readCount);
    EXPECT_STREQ("last", index.Match(disk, kLength, file.headers)->name);
    EXPECT_EQ(2, disk.readCount);
}

TEST(SignatureMatch, IndexAgreesWithAPlainTableScan)
{
    TestFile file;
    std::mt19937 random(20240521);
    const int32_t sizes[] = {kLength, kLength - 1, kLength + 4095, kLength - 4096, 100};
    const int32_t sizeTests[] = {1, 1, 1, 2, 3, 0, 4};
    int hits = 0, misses = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<SignatureRecord> table;
        const int count = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            const int32_t first = static_cast<int32_t>(random() % 0x2400) - 0x1200;
            const int32_t second = static_cast<int32_t>(random() % 0x2400) - 0x1200;
            SignatureRecord record =
                file.Record(i % 2 ? "odd" : "even", first, second, sizes[random() % 5], sizeTests[random() % 7]);
            if (random() % 4 == 0) record.secondPattern[random() % kPatternLength] ^= 0x40;
            table.push_back(record);
        }
        table.push_back(SignatureRecord{});
        const SignatureIndex index(table.data());
        for (int32_t length : {kLength, kLength + 1, kLength - 4095, 100, 0, -1}) {
            MemoryFile a(file.bytes), b(file.bytes);
            const SignatureRecord* expected = MatchByTableScan(table.data(), a, length, file.headers);
            EXPECT_EQ(expected, index.Match(b, length, file.headers)) << "round " << round << " length " << length;
            ++(expected ? hits : misses);
        }
    }
    EXPECT_GT(hits, 200);
    EXPECT_GT(misses, 200);
}

TEST(SignatureTable, ShipsTheKnownRowsInOrderThenTheTerminator)
{
    const char* const names[] = {"W32/StartPage.Eej.Dropper.Trojan", "W32/StartPage.Balf.Trojan",
                                 "W32/StartPage.Trojan"};
    for (int i = 0; i < 3; ++i) EXPECT_STREQ(names[i], SignatureTable[i].name);
    EXPECT_EQ('\0', SignatureTable[3].name[0]);

    const SignatureRecord& row = SignatureTable[2];
    const uint8_t second[kPatternLength] = {0x7F, 0x58, 0x50, 0x54, 0x50, 0x53, 0x57, 0xFF, 0xD5, 0x58,
                                            0x61, 0x8D, 0x44, 0x24, 0x80, 0x6A, 0x00, 0x39, 0xC4, 0x75};
    // Packed fields are copied out: a reference to one would be misaligned.
    EXPECT_EQ(-95095, int32_t{row.firstOffset});
    EXPECT_EQ(0x85, row.firstPattern[0]);
    EXPECT_EQ(0x4C, row.firstPattern[19]);
    EXPECT_EQ(0, std::memcmp(second, row.secondPattern, kPatternLength));
    EXPECT_EQ(0, row.firstTerminator);
    EXPECT_EQ(105832, int32_t{row.fileSize});
    EXPECT_EQ(1, int32_t{row.sizeTest});

    const SignatureIndex& shipped = ShippedSignatureIndex();
    for (int32_t size : {17941, 6637648, 105832}) EXPECT_TRUE(shipped.AcceptsLength(size)) << size;
    EXPECT_FALSE(shipped.AcceptsLength(17942));
}

TEST(SignatureMatch, HostileSectionTablesOnlyFailRecords)
{
    // Section fields near 2^32 make the mapping wrap; whatever offset comes out, a read either lies inside the
    // file or fails.
    TestFile file;
    const SignatureRecord good = file.Record("good", -0x80, 0x300, kLength, 1);
    const std::vector<SignatureRecord> table = Table({good, file.Record("zero", 0, 0, kLength, 3)});
    const PeSection hostile[] = {{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
                                 {0x1000, 0xFFFFF000, 0x400},
                                 {0x2000, 0x1000, 0xFFFFFFF0},
                                 {0xFFFFFFFF, 0, 0x7FFFFFFF}};
    for (const PeSection& section : hostile) {
        PeHeaders headers = file.headers;
        headers.numberOfSections = 1;
        headers.sections[0] = section;
        MemoryFile disk(file.bytes);
        const SignatureRecord* hit = SignatureIndex(table.data()).Match(disk, kLength, headers);
        MemoryFile again(file.bytes);
        EXPECT_EQ(MatchByTableScan(table.data(), again, kLength, headers), hit);
    }
}
