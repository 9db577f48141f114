#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/detection/pe_reader.h"
#include "tools/samplegen/memory_file.h"
#include "tools/samplegen/sample_pe.h"

namespace {

SampleSection TestSection(uint32_t virtualAddress, uint32_t virtualSize, uint32_t rawPointer)
{
    SampleSection section{};
    section.virtualAddress = virtualAddress;
    section.virtualSize = virtualSize;
    section.pointerToRawData = rawPointer;
    section.sizeOfRawData = 0x200;
    return section;
}

PeImageSpec PlanWithSections(int count, uint32_t peOffset = 0x80)
{
    PeImageSpec plan;
    plan.peOffset = peOffset;
    plan.fileLength = peOffset + 0x1000;
    plan.entryPoint = 0x1234;
    plan.sizeOfHeaders = 0x400;
    for (int i = 0; i < count; ++i) plan.sections.push_back(TestSection(0x1000 * (i + 1), 0x1000, 0x400 + 0x200 * i));
    return plan;
}

int ReadHeaders(const std::vector<uint8_t>& image, PeHeaders& headers)
{
    MemoryFile file(image);
    return ReadPeHeaders(file, headers);
}

// Reads succeed everywhere and return the same filler; records every position asked for.
class EndlessFile : public RandomAccessFile {
public:
    explicit EndlessFile(uint32_t peOffset) : peOffset_(peOffset) {}
    bool ReadAt(uint32_t offset, void* buffer, uint32_t size) override
    {
        offsets.push_back(offset);
        uint8_t* bytes = static_cast<uint8_t*>(buffer);
        for (uint32_t i = 0; i < size; ++i) bytes[i] = 0;
        if (offset == kPeOffsetField && size == 4) {
            for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(peOffset_ >> (8 * i));
        } else if (offset == peOffset_ && size == 4) {
            bytes[0] = 'P';
            bytes[1] = 'E';
        } else if (size == kFileHeaderSize) {
            bytes[2] = 1;  // one section
        }
        return true;
    }
    std::vector<uint32_t> offsets;

private:
    uint32_t peOffset_;
};

}  // namespace

TEST(PeReader, ReadsTheFieldsTheMatcherUses)
{
    PeImageSpec plan = PlanWithSections(2);
    plan.sections[1] = TestSection(0x3000, 0x2345, 0x800);
    PeHeaders headers;
    ASSERT_EQ(1, ReadHeaders(EmitPeImage(plan), headers));
    EXPECT_EQ(2, headers.numberOfSections);
    EXPECT_EQ(0x1234u, headers.addressOfEntryPoint);
    EXPECT_EQ(0x400u, headers.sizeOfHeaders);
    EXPECT_EQ(0x3000u, headers.sections[1].virtualAddress);
    EXPECT_EQ(0x2345u, headers.sections[1].virtualSize);
    EXPECT_EQ(0x800u, headers.sections[1].pointerToRawData);
    EXPECT_EQ(0u, headers.sections[2].virtualAddress);  // beyond the count: cleared
}

TEST(PeReader, PeHeaderOffsetIsAFull32BitValue)
{
    // 0x10000 would read as 0 if e_lfanew were taken as 16 bits; 0x10080 as 0x80.
    for (uint32_t peOffset : {0x10000u, 0x10080u}) {
        PeHeaders headers;
        EXPECT_EQ(1, ReadHeaders(EmitPeImage(PlanWithSections(1, peOffset)), headers)) << peOffset;
        EXPECT_EQ(0x1234u, headers.addressOfEntryPoint);
    }
}

TEST(PeReader, NeitherMzNorTheRestOfTheDosHeaderIsChecked)
{
    std::vector<uint8_t> image = EmitPeImage(PlanWithSections(1));
    std::fill(image.begin(), image.begin() + kPeOffsetField, 0xEE);
    PeHeaders headers;
    EXPECT_EQ(1, ReadHeaders(image, headers));
    image[0x81] = 'X';  // "PX\0\0"
    EXPECT_EQ(0, ReadHeaders(image, headers));
}

TEST(PeReader, TwentySectionsAreReadTwentyOneAreRefused)
{
    PeHeaders headers;
    ASSERT_EQ(1, ReadHeaders(EmitPeImage(PlanWithSections(20)), headers));
    EXPECT_EQ(20, headers.numberOfSections);
    EXPECT_EQ(0x14000u, headers.sections[19].virtualAddress);
    EXPECT_EQ(0, ReadHeaders(EmitPeImage(PlanWithSections(21)), headers));
}

TEST(PeReader, HugeSectionCountIsRefusedWithoutReadingTheTable)
{
    std::vector<uint8_t> image = EmitPeImage(PlanWithSections(1));
    PatchLe16(image, 0x80 + kFileHeaderOffset + 2, 0xFFFF);
    MemoryFile file(image);
    PeHeaders headers;
    EXPECT_EQ(0, ReadPeHeaders(file, headers));
    EXPECT_EQ(4, file.readCount);
}

TEST(PeReader, SectionTableIsAt248WhateverTheOptionalHeaderSizeSays)
{
    for (uint16_t optionalSize : {0, 96, 224, 0xFFFF}) {
        PeImageSpec plan = PlanWithSections(1);
        plan.sizeOfOptionalHeader = optionalSize;
        PeHeaders headers;
        ASSERT_EQ(1, ReadHeaders(EmitPeImage(plan), headers)) << optionalSize;
        EXPECT_EQ(0x1000u, headers.sections[0].virtualAddress) << optionalSize;
    }
}

TEST(PeReader, NoSectionsSucceedsEvenWhereTheTableWouldBePastTheEnd)
{
    PeImageSpec plan = PlanWithSections(0);
    plan.fileLength = 0x80 + kOptionalHeaderOffset + kOptionalHeaderReadSize;  // the last byte read
    PeHeaders headers;
    EXPECT_EQ(1, ReadHeaders(EmitPeImage(plan), headers));
    plan.fileLength -= 1;
    EXPECT_EQ(0, ReadHeaders(EmitPeImage(plan), headers));
}

TEST(PeReader, EveryTruncationOfTheHeadersFailsCleanly)
{
    const std::vector<uint8_t> image = EmitPeImage(PlanWithSections(3));
    const size_t needed = 0x80 + kSectionTableOffset + 3 * kSectionHeaderSize;
    for (size_t length = 0; length <= needed + 1; ++length) {
        // An exact-size copy, so a sanitizer build catches any read past the end.
        const std::vector<uint8_t> cut(image.begin(), image.begin() + length);
        PeHeaders headers;
        EXPECT_EQ(length >= needed ? 1 : 0, ReadHeaders(cut, headers)) << length;
    }
}

TEST(PeReader, PositionsPastTwoGigabytesAreFailedSeeksNeverWrapped)
{
    // e_lfanew values whose header parts would lie at or past 2^31, or wrap past 2^32 into small offsets.
    for (uint32_t peOffset : {0xFFFFFFFFu, 0xFFFFFF10u, 0x7FFFFFFFu, 0x7FFFFF10u, 0x80000000u}) {
        EndlessFile file(peOffset);
        PeHeaders headers;
        EXPECT_EQ(0, ReadPeHeaders(file, headers)) << std::hex << peOffset;
        for (uint32_t offset : file.offsets) {
            EXPECT_LE(offset, kMaxSeekOffset) << std::hex << peOffset;
            EXPECT_TRUE(offset == kPeOffsetField || offset >= peOffset) << std::hex << peOffset << " " << offset;
        }
    }
    EndlessFile reachable(0x7FFFFF00);  // the section table ends just below 2^31
    PeHeaders headers;
    EXPECT_EQ(1, ReadPeHeaders(reachable, headers));
}

namespace {

struct MappingCase {
    const char* what;
    uint32_t rva;
    uint32_t expected;
};

PeHeaders TwoSections()
{
    PeHeaders headers{};
    headers.numberOfSections = 2;
    headers.sizeOfHeaders = 0x200;
    headers.sections[0] = {0x1000, 0x1000, 0x1400};  // virtualSize, virtualAddress, pointerToRawData
    headers.sections[1] = {0x2000, 0x2000, 0x600};
    return headers;
}

}  // namespace

TEST(RvaToFileOffset, FollowsTheSectionTableWithItsQuirks)
{
    const PeHeaders headers = TwoSections();
    const uint32_t length = 0x8000;
    const MappingCase cases[] = {
        {"inside section 0", 0x1010, 0x1410},
        {"inside section 1", 0x2010, 0x610},
        {"below the first section falls to section 0", 0x0500, 0x0900},
        {"past the last section uses the last", 0x5000, 0x3600},
        {"a mapped offset past the end gives the rva", 0xA000, 0xA000},
        {"the mapped offset equal to the length gives the rva", 0x9A00, 0x9A00},
        {"the last mapped offset inside the file", 0x99FF, 0x7FFF},
        {"rva 0 maps below section 0", 0, 0x400},
    };
    for (const MappingCase& c : cases) EXPECT_EQ(c.expected, RvaToFileOffset(c.rva, headers, length)) << c.what;
}

TEST(RvaToFileOffset, ZeroBecomesSizeOfHeaders)
{
    PeHeaders headers = TwoSections();
    headers.sections[0].pointerToRawData = 0;
    EXPECT_EQ(0x200u, RvaToFileOffset(0x1000, headers, 0x8000));
    EXPECT_EQ(0x10u, RvaToFileOffset(0x1010, headers, 0x8000));
}

TEST(RvaToFileOffset, WithoutSectionsEveryRvaIsItsOwnOffset)
{
    PeHeaders headers{};
    headers.sizeOfHeaders = 0x200;
    headers.sections[0] = {0x1000, 0x1000, 0x5000};  // stale data beyond the count is not used
    EXPECT_EQ(0x1234u, RvaToFileOffset(0x1234, headers, 0x8000));
    EXPECT_EQ(0x9999u, RvaToFileOffset(0x9999, headers, 0x8000));
    EXPECT_EQ(0x200u, RvaToFileOffset(0, headers, 0x8000));
}

TEST(RvaToFileOffset, SectionEndsAndOffsetsWrapAt32Bits)
{
    PeHeaders headers{};
    headers.numberOfSections = 2;
    headers.sections[0] = {0x2000, 0xFFFFF000, 0x200};  // VirtualAddress + VirtualSize wraps to 0x1000
    headers.sections[1] = {0x1000, 0x1000, 0x400};
    EXPECT_EQ(0x1A00u, RvaToFileOffset(0x800, headers, 0x8000)) << "below the wrapped end: section 0";
    EXPECT_EQ(0x600u, RvaToFileOffset(0x1200, headers, 0x8000)) << "past the wrapped end: section 1";
    EXPECT_EQ(0xFFFFF010u, RvaToFileOffset(0xFFFFF010, headers, 0x8000)) << "last section, mapped past the end";
}
