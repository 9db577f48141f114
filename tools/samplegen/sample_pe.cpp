// Laying out a record's sample. The strings (and the entry code) are grouped into clusters by their distance
// from the entry point; each cluster is one section whose raw data holds exactly that stretch of the image,
// and the sections' virtual sizes bridge the gaps between clusters. A string 1.4 MB before the entry point
// therefore costs a page of file at most, and a 6 MB sample is mostly trailing zeros.
#include "tools/samplegen/sample_pe.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "engine/detection/pe_reader.h"

namespace {

constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kPlainPeOffset = 0x80;
constexpr uint32_t kFarPeOffset = 0x10000;
constexpr int64_t kMaxSampleLength = int64_t{1} << 28;
// A wider gap costs less as a section boundary (at most a page of slack plus file alignment) than as bytes.
constexpr int64_t kSplitGap = kSectionAlignment + kFileAlignment;

constexpr uint32_t kCodeCharacteristics = 0xE0000060;   // code and data, readable, writable, executable
constexpr uint32_t kDataCharacteristics = 0xC0000040;   // initialised data, readable, writable
constexpr uint32_t kEmptyCharacteristics = 0xC0000080;  // uninitialised data

// The runnable loop counts its rounds and sleeps 100 ms in each. The counter and Sleep's import slot are
// 32-bit fields that end their instructions: absolute addresses in i386 code, distances from the next
// instruction in x86-64 code.
struct LoopCode {
    uint8_t bytes[24];
    uint32_t size;
    size_t counterField;
    size_t sleepField;
};
// inc dword [counter]; push 100; call [Sleep]; jmp back to the start.
constexpr LoopCode kLoopCode32 = {{0xFF, 0x05, 0, 0, 0, 0, 0x6A, 0x64, 0xFF, 0x15, 0, 0, 0, 0, 0xEB, 0xF0}, 16, 2, 10};
// sub rsp, 40 (the callee's spill area, and the stack aligned for the call); then inc dword [rip+counter];
// mov ecx, 100; call [rip+Sleep]; jmp back to the inc.
constexpr LoopCode kLoopCode64 = {
    {0x48, 0x83, 0xEC, 0x28, 0xFF, 0x05, 0, 0, 0, 0, 0xB9, 0x64, 0, 0, 0, 0xFF, 0x15, 0, 0, 0, 0, 0xEB, 0xED},
    23,
    6,
    17};
constexpr uint8_t kReturnCode[] = {0xC3};  // a sample that is not meant to run ends at once if started

// The import section: one descriptor (kernel32 Sleep), its lookup and address tables (a slot and the
// terminating zero each, slots of 4 bytes in PE32 and 8 in PE32+), the names, the counter.
constexpr uint32_t kImportSectionSize = 0x200;
constexpr uint32_t kImportDescriptorsSize = 40;  // one descriptor and the terminating one
constexpr uint32_t kLookupTable = 40;
constexpr uint32_t kCounter = 0x80;

struct ImportLayout {
    uint32_t slot;
    uint32_t addressTable;
    uint32_t sleepHintName;
    uint32_t kernelName;
};

ImportLayout ImportsFor(SampleMachine machine)
{
    const uint32_t slot = machine == SAMPLE_X64 ? 8 : 4;
    const uint32_t addressTable = kLookupTable + 2 * slot;
    const uint32_t sleepHintName = addressTable + 2 * slot;
    return {slot, addressTable, sleepHintName, sleepHintName + 8};
}

struct Piece {
    int64_t start;  // relative to the entry point
    const uint8_t* bytes;
    uint32_t size;
    int64_t end() const { return start + size; }
};

// One section's share of the image: the rvas [entry + start, entry + end) live at rawPointer + (rva - va).
struct Cluster {
    int64_t start;
    int64_t end;
    uint32_t virtualAddress;
    uint32_t rawPointer;
};

struct Plan {
    uint32_t length = 0;
    uint32_t entry = 0;
    bool noSections = false;
    std::vector<Cluster> clusters;
    uint32_t importRva = 0;
    uint32_t importRaw = 0;
    PeImageSpec plan;
};

bool Fail(std::string* error, const char* reason)
{
    if (error) *error = reason;
    return false;
}

int64_t AlignDown(int64_t value, int64_t alignment)
{
    return value / alignment * alignment;
}  // value >= 0
int64_t AlignUp(int64_t value, int64_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

void StoreLe32(uint8_t* at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

bool Overlap(const Piece& a, const Piece& b)
{
    return a.start < b.end() && b.start < a.end();
}

// Two strings may share bytes only where they agree.
bool Consistent(const Piece& a, const Piece& b)
{
    for (int64_t at = std::max(a.start, b.start); at < std::min(a.end(), b.end()); ++at)
        if (a.bytes[at - a.start] != b.bytes[at - b.start]) return false;
    return true;
}

std::vector<Cluster> MakeClusters(std::vector<Piece> pieces)
{
    std::sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) { return a.start < b.start; });
    std::vector<Cluster> clusters;
    for (const Piece& piece : pieces) {
        if (!clusters.empty() && piece.start - clusters.back().end <= kSplitGap)
            clusters.back().end = std::max(clusters.back().end, piece.end());
        else
            clusters.push_back({piece.start, piece.end(), 0, 0});
    }
    return clusters;
}

SampleSection Section(const char* name, uint32_t virtualAddress, uint32_t virtualSize, uint32_t rawPointer,
                      uint32_t rawSize, uint32_t characteristics)
{
    SampleSection section{};
    std::snprintf(section.name, sizeof section.name, "%s", name);
    section.virtualAddress = virtualAddress;
    section.virtualSize = virtualSize;
    section.pointerToRawData = rawPointer;
    section.sizeOfRawData = rawSize;
    section.characteristics = characteristics;
    return section;
}

int TargetSectionCount(SampleLayout layout)
{
    return layout == LAYOUT_TWENTY_SECTIONS ? 20 : layout == LAYOUT_TWENTY_ONE_SECTIONS ? 21 : 0;
}

// Without sections every rva is its own file offset: the pieces sit right behind the headers.
bool PlanWithoutSections(Plan& plan, int64_t headersSize, std::string* error)
{
    const int64_t entry = headersSize - plan.clusters.front().start;
    const int64_t end = entry + plan.clusters.back().end;
    if (end > plan.length) return Fail(error, "the strings do not fit in the record's length without sections");
    plan.entry = static_cast<uint32_t>(entry);
    plan.plan.sizeOfImage = static_cast<uint32_t>(AlignUp(end, kSectionAlignment));
    return true;
}

bool PlanSections(Plan& plan, const SampleOptions& options, int64_t headersSize, std::string* error)
{
    std::vector<SampleSection>& sections = plan.plan.sections;
    int64_t va = AlignUp(headersSize, kSectionAlignment);  // the loaders want the first section right here
    int64_t raw = headersSize;
    if (options.layout == LAYOUT_ENTRY_IN_LATER_SECTION) {
        sections.push_back(Section(".lead", static_cast<uint32_t>(va), kSectionAlignment, static_cast<uint32_t>(raw),
                                   kFileAlignment, kDataCharacteristics));
        va += kSectionAlignment;
        raw += kFileAlignment;
    }
    const int64_t entry = va - plan.clusters.front().start;
    for (size_t i = 0; i < plan.clusters.size(); ++i) {
        Cluster& cluster = plan.clusters[i];
        const int64_t start = entry + cluster.start;
        const int64_t sectionVa = AlignDown(start, kSectionAlignment);
        const int64_t rawSize = AlignUp(start - sectionVa + (cluster.end - cluster.start), kFileAlignment);
        if (sectionVa + rawSize > kMaxSeekOffset) return Fail(error, "the strings are too far apart");
        cluster.virtualAddress = static_cast<uint32_t>(sectionVa);
        cluster.rawPointer = static_cast<uint32_t>(raw);
        char name[9];
        std::snprintf(name, sizeof name, i == 0 ? ".text" : ".text%d", static_cast<int>(i));
        sections.push_back(Section(name, cluster.virtualAddress, static_cast<uint32_t>(rawSize), cluster.rawPointer,
                                   static_cast<uint32_t>(rawSize), kCodeCharacteristics));
        raw += rawSize;
        // Virtual sizes bridge the gaps: the sections stay contiguous, as the NT loader requires.
        if (i > 0) {
            SampleSection& previous = sections[sections.size() - 2];
            previous.virtualSize = cluster.virtualAddress - previous.virtualAddress;
        }
        va = AlignUp(sectionVa + rawSize, kSectionAlignment);
    }
    plan.entry = static_cast<uint32_t>(entry);
    if (options.runnable) {
        plan.importRva = static_cast<uint32_t>(va);
        plan.importRaw = static_cast<uint32_t>(raw);
        sections.push_back(Section(".idata", plan.importRva, kImportSectionSize, plan.importRaw, kImportSectionSize,
                                   kDataCharacteristics));
        va += kSectionAlignment;
        raw += kImportSectionSize;
    }
    const int target = TargetSectionCount(options.layout);
    if (target != 0 && static_cast<int>(sections.size()) > target)
        return Fail(error, "the record needs more sections than the layout allows");
    while (static_cast<int>(sections.size()) < target) {
        sections.push_back(Section(".pad", static_cast<uint32_t>(va), kSectionAlignment, 0, 0, kEmptyCharacteristics));
        va += kSectionAlignment;
    }
    if (raw > plan.length) return Fail(error, "the strings do not fit in the record's length");
    plan.plan.sizeOfImage = static_cast<uint32_t>(va);
    return true;
}

int SectionCount(const std::vector<Cluster>& clusters, const SampleOptions& options)
{
    if (options.layout == LAYOUT_NO_SECTIONS) return 0;
    const int count =
        static_cast<int>(clusters.size()) + (options.layout == LAYOUT_ENTRY_IN_LATER_SECTION) + options.runnable;
    return std::max(count, TargetSectionCount(options.layout));
}

uint32_t FileOffsetOf(const Plan& plan, int64_t relative)
{
    if (plan.noSections) return static_cast<uint32_t>(plan.entry + relative);
    for (const Cluster& cluster : plan.clusters)
        if (relative < cluster.end)
            return static_cast<uint32_t>(cluster.rawPointer + (plan.entry + relative - cluster.virtualAddress));
    return 0;  // not reached: every piece lies in a cluster
}

void WriteImports(std::vector<uint8_t>& image, const Plan& plan, SampleMachine machine)
{
    const ImportLayout layout = ImportsFor(machine);
    const uint32_t rva = plan.importRva;
    const size_t at = plan.importRaw;
    PatchLe32(image, at + 0, rva + kLookupTable);          // OriginalFirstThunk
    PatchLe32(image, at + 12, rva + layout.kernelName);    // Name
    PatchLe32(image, at + 16, rva + layout.addressTable);  // FirstThunk
    // By name: the ordinal flag is the slot's top bit, clear here; the upper half of an 8-byte slot is zero.
    PatchLe32(image, at + kLookupTable, rva + layout.sleepHintName);
    PatchLe32(image, at + layout.addressTable, rva + layout.sleepHintName);
    std::memcpy(image.data() + at + layout.sleepHintName + 2, "Sleep", 6);  // after a zero hint
    std::memcpy(image.data() + at + layout.kernelName, "KERNEL32.dll", 13);
}

bool PlanImage(const SampleOptions& options, const std::vector<Piece>& pieces, Plan& plan, std::string* error)
{
    plan.clusters = MakeClusters(pieces);
    plan.noSections = options.layout == LAYOUT_NO_SECTIONS;
    const uint32_t peOffset = options.layout == LAYOUT_FAR_PE_HEADER ? kFarPeOffset : kPlainPeOffset;
    const int64_t headersSize = AlignUp(
        int64_t{peOffset} + kSectionTableOffset + SectionCount(plan.clusters, options) * int64_t{kSectionHeaderSize},
        kFileAlignment);
    if (headersSize > plan.length) return Fail(error, "the headers alone are longer than the record's length");
    const bool planned = plan.noSections ? PlanWithoutSections(plan, headersSize, error)
                                         : PlanSections(plan, options, headersSize, error);
    if (!planned) return false;
    plan.plan.machine = options.machine;
    plan.plan.fileLength = plan.length;
    plan.plan.peOffset = peOffset;
    plan.plan.entryPoint = plan.entry;
    plan.plan.sizeOfHeaders = static_cast<uint32_t>(headersSize);
    if (options.runnable) {
        plan.plan.importTableRva = plan.importRva;
        plan.plan.importTableSize = kImportDescriptorsSize;
        const ImportLayout layout = ImportsFor(options.machine);
        plan.plan.importAddressTableRva = plan.importRva + layout.addressTable;
        plan.plan.importAddressTableSize = 2 * layout.slot;
    }
    return true;
}

}  // namespace

bool BuildSample(const SignatureRecord& record, const SampleOptions& options, std::vector<uint8_t>& image,
                 SampleInfo* info, std::string* error)
{
    const int64_t size = options.fileSize != 0 ? options.fileSize : record.fileSize;
    const int64_t length = size + (options.nearMiss == NEAR_MISS_LONGER) - (options.nearMiss == NEAR_MISS_SHORTER);
    if (length < 1 || length > kMaxSampleLength) return Fail(error, "the record's length cannot be generated");
    if (options.runnable && options.layout == LAYOUT_NO_SECTIONS)
        return Fail(error, "a runnable sample needs sections");

    const LoopCode& loop = options.machine == SAMPLE_X64 ? kLoopCode64 : kLoopCode32;
    uint8_t code[sizeof loop.bytes];
    std::memcpy(code, options.runnable ? loop.bytes : kReturnCode, options.runnable ? loop.size : 1);
    const Piece first = {record.firstOffset, record.firstPattern, kPatternLength};
    const Piece second = {record.secondOffset, record.secondPattern, kPatternLength};
    const Piece entryCode = {0, code, options.runnable ? loop.size : 1};
    if (Overlap(first, second) && !Consistent(first, second))
        return Fail(error, "the two strings overlap with different bytes");
    std::vector<Piece> pieces = {first, second};
    const bool codeClashes = Overlap(entryCode, first) || Overlap(entryCode, second);
    if (codeClashes && options.runnable) return Fail(error, "a string lies where the entry code must go");
    if (!codeClashes) pieces.push_back(entryCode);  // else the string itself is the entry point's content

    Plan plan;
    plan.length = static_cast<uint32_t>(length);
    if (!PlanImage(options, pieces, plan, error)) return false;

    if (options.runnable) {
        const uint32_t counterRva = plan.importRva + kCounter;
        const uint32_t sleepSlot = plan.importRva + ImportsFor(options.machine).addressTable;
        if (options.machine == SAMPLE_X64) {
            const uint32_t counterNext = plan.entry + static_cast<uint32_t>(loop.counterField) + 4;
            const uint32_t sleepNext = plan.entry + static_cast<uint32_t>(loop.sleepField) + 4;
            StoreLe32(code + loop.counterField, counterRva - counterNext);
            StoreLe32(code + loop.sleepField, sleepSlot - sleepNext);
        } else {
            StoreLe32(code + loop.counterField, kSampleImageBase + counterRva);
            StoreLe32(code + loop.sleepField, kSampleImageBase + sleepSlot);
        }
    }
    image = EmitPeImage(plan.plan);
    for (const Piece& piece : pieces)
        std::memcpy(image.data() + FileOffsetOf(plan, piece.start), piece.bytes, piece.size);
    if (options.runnable) WriteImports(image, plan, options.machine);

    const uint32_t firstAt = FileOffsetOf(plan, first.start);
    const uint32_t secondAt = FileOffsetOf(plan, second.start);
    if (options.nearMiss == NEAR_MISS_FIRST_STRING) image[firstAt + kPatternLength - 1] ^= 0x01;
    if (options.nearMiss == NEAR_MISS_SECOND_STRING) image[secondAt + kPatternLength - 1] ^= 0x01;
    if (info) {
        *info = {kSampleImageBase, plan.entry, firstAt, secondAt, options.runnable ? plan.importRva + kCounter : 0};
    }
    return true;
}

SignatureRecord MakeRecord(const char* name, int32_t firstOffset, const uint8_t (&firstPattern)[kPatternLength],
                           int32_t secondOffset, const uint8_t (&secondPattern)[kPatternLength], int32_t fileSize,
                           int32_t sizeTest)
{
    SignatureRecord record{};
    std::snprintf(record.name, sizeof record.name, "%s", name);
    record.firstOffset = firstOffset;
    std::memcpy(record.firstPattern, firstPattern, kPatternLength);
    record.secondOffset = secondOffset;
    std::memcpy(record.secondPattern, secondPattern, kPatternLength);
    record.fileSize = fileSize;
    record.sizeTest = sizeTest;
    return record;
}

bool WriteSample(const char* path, const SignatureRecord& record, const SampleOptions& options, std::string* error)
{
    std::vector<uint8_t> image;
    return BuildSample(record, options, image, nullptr, error) && WriteImage(path, image, error);
}

bool WriteImage(const char* path, const std::vector<uint8_t>& image, std::string* error)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    file.close();
    return file ? true : Fail(error, "cannot write the output file");
}
