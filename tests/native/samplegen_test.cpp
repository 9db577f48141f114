#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/detection/signature_match.h"
#include "tools/samplegen/memory_file.h"
#include "tools/samplegen/sample_pe.h"

namespace {

const SampleLayout kMatchingLayouts[] = {LAYOUT_PLAIN, LAYOUT_FAR_PE_HEADER, LAYOUT_TWENTY_SECTIONS,
                                         LAYOUT_ENTRY_IN_LATER_SECTION, LAYOUT_NO_SECTIONS};

std::vector<const SignatureRecord*> ShippedRecords()
{
    std::vector<const SignatureRecord*> records;
    for (const SignatureRecord* record = SignatureTable; record->name[0] != '\0'; ++record) records.push_back(record);
    return records;
}

// The name the shipped matcher gives the image, or "" when the headers are refused or nothing matches.
std::string MatchedName(const std::vector<uint8_t>& image)
{
    MemoryFile file(image);
    PeHeaders headers;
    if (!ReadPeHeaders(file, headers)) return "";
    const SignatureRecord* hit = MatchSignatureTable(file, static_cast<int32_t>(image.size()), headers);
    return hit ? hit->name : "";
}

uint32_t Le32(const std::vector<uint8_t>& image, size_t at)
{
    return image[at] | image[at + 1] << 8 | image[at + 2] << 16 | static_cast<uint32_t>(image[at + 3]) << 24;
}

// The loaders' demands: sections contiguous from the end of the headers, raw data inside the file.
void ExpectLoadableLayout(const std::vector<uint8_t>& image, const std::string& what)
{
    MemoryFile file(image);
    PeHeaders headers;
    ASSERT_EQ(1, ReadPeHeaders(file, headers)) << what;
    const uint32_t peOffset = Le32(image, kPeOffsetField);
    uint32_t nextVa = (headers.sizeOfHeaders + 0xFFF) & ~0xFFFu;
    for (int i = 0; i < headers.numberOfSections; ++i) {
        const size_t entry = peOffset + kSectionTableOffset + i * kSectionHeaderSize;
        const uint32_t rawSize = Le32(image, entry + 16);
        EXPECT_EQ(nextVa, headers.sections[i].virtualAddress) << what << " section " << i;
        EXPECT_LE(uint64_t{headers.sections[i].pointerToRawData} + rawSize, image.size()) << what << " section " << i;
        EXPECT_EQ(0u, headers.sections[i].pointerToRawData % 0x200) << what << " section " << i;
        nextVa += (headers.sections[i].virtualSize + 0xFFF) & ~0xFFFu;
    }
    EXPECT_EQ(nextVa, Le32(image, peOffset + kOptionalHeaderOffset + 56)) << what << " SizeOfImage";
}

}  // namespace

TEST(SampleGen, EveryShippedRecordIsMatchedByNameInEveryLayoutThatFits)
{
    for (const SignatureRecord* record : ShippedRecords()) {
        for (SampleLayout layout : kMatchingLayouts) {
            // Not runnable, runnable PE32, runnable PE32+ (the 64-bit test build's).
            for (int kind = 0; kind < 3; ++kind) {
                const bool runnable = kind > 0;
                if (runnable && layout == LAYOUT_NO_SECTIONS) continue;
                const std::string what = std::string(record->name) + " layout " + std::to_string(layout) +
                                         (runnable ? " runnable" : "") + (kind == 2 ? " x64" : "");
                SampleOptions options;
                options.layout = layout;
                options.runnable = runnable;
                options.machine = kind == 2 ? SAMPLE_X64 : SAMPLE_I386;
                std::vector<uint8_t> image;
                SampleInfo info;
                std::string error;
                // A far PE header needs 64 KB of headers, more than the smallest sample has.
                const bool fits = !(layout == LAYOUT_FAR_PE_HEADER && record->fileSize < 0x10400);
                ASSERT_EQ(fits, BuildSample(*record, options, image, &info, &error)) << what << ": " << error;
                if (!fits) continue;
                EXPECT_EQ(static_cast<size_t>(record->fileSize), image.size()) << what;
                EXPECT_EQ(record->name, MatchedName(image)) << what;
                EXPECT_EQ(0, std::memcmp(&image[info.firstStringOffset], record->firstPattern, kPatternLength));
                EXPECT_EQ(0, std::memcmp(&image[info.secondStringOffset], record->secondPattern, kPatternLength));
                if (layout != LAYOUT_NO_SECTIONS) ExpectLoadableLayout(image, what);
            }
        }
    }
}

TEST(SampleGen, NearMissesAreNotMatched)
{
    for (const SignatureRecord* record : ShippedRecords()) {
        for (NearMiss miss : {NEAR_MISS_FIRST_STRING, NEAR_MISS_SECOND_STRING, NEAR_MISS_LONGER, NEAR_MISS_SHORTER}) {
            SampleOptions options;
            options.nearMiss = miss;
            std::vector<uint8_t> image;
            ASSERT_TRUE(BuildSample(*record, options, image, nullptr, nullptr)) << record->name << " " << miss;
            EXPECT_EQ("", MatchedName(image)) << record->name << " near miss " << miss;
        }
    }
}

TEST(SampleGen, LayoutsHaveTheShapeTheyPromise)
{
    const SignatureRecord& record = SignatureTable[2];
    auto build = [&](SampleLayout layout) {
        SampleOptions options;
        options.layout = layout;
        std::vector<uint8_t> image;
        EXPECT_TRUE(BuildSample(record, options, image, nullptr, nullptr)) << layout;
        MemoryFile file(image);
        PeHeaders headers{};
        ReadPeHeaders(file, headers);
        return std::make_pair(image, headers);
    };

    EXPECT_EQ(0x10000u, Le32(build(LAYOUT_FAR_PE_HEADER).first, kPeOffsetField));
    EXPECT_EQ(20, build(LAYOUT_TWENTY_SECTIONS).second.numberOfSections);
    EXPECT_EQ(21, Le32(build(LAYOUT_TWENTY_ONE_SECTIONS).first, 0x80 + kFileHeaderOffset) >> 16);
    EXPECT_EQ("", MatchedName(build(LAYOUT_TWENTY_ONE_SECTIONS).first)) << "21 sections are never examined";
    EXPECT_EQ(0, build(LAYOUT_NO_SECTIONS).second.numberOfSections);

    const PeHeaders later = build(LAYOUT_ENTRY_IN_LATER_SECTION).second;
    const PeSection& first = later.sections[0];
    EXPECT_LE(first.virtualAddress + first.virtualSize, later.addressOfEntryPoint + uint32_t(record.firstOffset))
        << "both strings and the entry point lie past the first section";
}

TEST(SampleGen, FarApartStringsCostLittleFile)
{
    // The extremes of the table's offsets in its smallest length.
    const uint8_t a[kPatternLength] = {1, 2, 3}, b[kPatternLength] = {4, 5, 6};
    const SignatureRecord record = MakeRecord("far", -1442972, a, 539627, b, 6656, SIZE_TEST_EXACT);
    std::vector<SignatureRecord> table = {record, SignatureRecord{}};
    std::vector<uint8_t> image;
    SampleOptions options;
    options.runnable = true;
    ASSERT_TRUE(BuildSample(record, options, image, nullptr, nullptr));
    ExpectLoadableLayout(image, "far");
    MemoryFile file(image);
    PeHeaders headers;
    ASSERT_EQ(1, ReadPeHeaders(file, headers));
    EXPECT_EQ(&table[0], SignatureIndex(table.data()).Match(file, 6656, headers));
}

TEST(SampleGen, RefusesWhatCannotBeBuilt)
{
    const uint8_t a[kPatternLength] = {1}, b[kPatternLength] = {2};
    std::vector<uint8_t> image;
    std::string error;
    SampleOptions runnable;
    runnable.runnable = true;
    SampleOptions noSections;
    noSections.layout = LAYOUT_NO_SECTIONS;

    EXPECT_FALSE(BuildSample(MakeRecord("tiny", 0, a, 100, b, 1000, 1), {}, image, nullptr, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(BuildSample(MakeRecord("overlap", 0, a, 10, b, 20000, 1), {}, image, nullptr, &error));
    EXPECT_FALSE(BuildSample(MakeRecord("at entry", 0, a, 100, b, 20000, 1), runnable, image, nullptr, &error))
        << "the entry code would overwrite the string";
    EXPECT_FALSE(BuildSample(MakeRecord("wide", -50000, a, 50000, b, 20000, 1), noSections, image, nullptr, &error));
    EXPECT_FALSE(BuildSample(MakeRecord("negative", 0, a, 100, b, -5, 1), {}, image, nullptr, &error));

    // A string at the entry point is fine when nothing has to run: the string is the entry point's code.
    const SignatureRecord atEntry = MakeRecord("at entry", 0, a, 100, b, 20000, 1);
    ASSERT_TRUE(BuildSample(atEntry, {}, image, nullptr, &error)) << error;
    std::vector<SignatureRecord> table = {atEntry, SignatureRecord{}};
    MemoryFile file(image);
    PeHeaders headers;
    ASSERT_EQ(1, ReadPeHeaders(file, headers));
    EXPECT_NE(nullptr, SignatureIndex(table.data()).Match(file, 20000, headers));
}
