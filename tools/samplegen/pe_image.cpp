// Writing PE32 headers from an explicit description.
#include <algorithm>
#include <cstring>

#include "engine/detection/pe_reader.h"
#include "tools/samplegen/sample_pe.h"

namespace {

constexpr uint16_t kMachineI386 = 0x14C;
constexpr uint16_t kMachineX64 = 0x8664;
constexpr uint16_t kExecutableImage = 0x0103;    // relocations stripped, executable, 32-bit machine
constexpr uint16_t kExecutableImage64 = 0x0023;  // relocations stripped, executable, large addresses
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint16_t kSubsystemWindowsGui = 2;
constexpr uint32_t kDataDirectoryCount = 16;
// PE32+ has a 112-byte fixed part; 14 directories (import and import address table among them) fill the same
// 224 bytes as PE32's 96 + 16, so the section table stays where the matcher reads it.
constexpr uint32_t kPe32PlusFixedSize = 112;
constexpr uint32_t kPe32PlusDirectoryCount = 14;
constexpr int kImportDirectory = 1;
constexpr int kImportAddressTableDirectory = 12;

void PutBytes(std::vector<uint8_t>& image, size_t offset, const void* bytes, size_t size)
{
    if (offset >= image.size()) return;
    std::memcpy(image.data() + offset, bytes, std::min(size, image.size() - offset));
}

void WriteDosHeader(std::vector<uint8_t>& image, uint32_t peOffset)
{
    image[0] = 'M';
    image[1] = 'Z';
    PatchLe16(image, 0x02, 0x90);    // bytes on the last page
    PatchLe16(image, 0x04, 3);       // pages
    PatchLe16(image, 0x08, 4);       // header paragraphs
    PatchLe16(image, 0x0C, 0xFFFF);  // maximum extra paragraphs
    PatchLe16(image, 0x10, 0xB8);    // initial SP
    PatchLe16(image, 0x18, 0x40);    // relocation table at 0x40: a new-format executable
    PatchLe32(image, kPeOffsetField, peOffset);
}

void WriteOptionalHeader(std::vector<uint8_t>& image, size_t at, const PeImageSpec& plan)
{
    const bool x64 = plan.machine == SAMPLE_X64;
    PatchLe16(image, at + 0, x64 ? kPe32PlusMagic : kPe32Magic);
    image[at + 2] = 2;  // linker version
    PatchLe32(image, at + 16, plan.entryPoint);
    if (!plan.sections.empty()) PatchLe32(image, at + 20, plan.sections[0].virtualAddress);  // BaseOfCode
    PatchLe32(image, at + (x64 ? 24 : 28), kSampleImageBase);  // PE32+: 64 bits at 24, the high half zero
    PatchLe32(image, at + 32, 0x1000);                         // SectionAlignment
    PatchLe32(image, at + 36, 0x200);                          // FileAlignment
    PatchLe16(image, at + 40, 4);                              // operating system 4.0: Windows 95 and NT 4 load it
    PatchLe16(image, at + 48, 4);                              // subsystem 4.0
    PatchLe32(image, at + 56, plan.sizeOfImage);
    PatchLe32(image, at + 60, plan.sizeOfHeaders);
    PatchLe16(image, at + 68, kSubsystemWindowsGui);      // no console window
    const size_t sizeField = x64 ? 8 : 4;                 // stack and heap sizes are 64-bit fields in PE32+
    PatchLe32(image, at + 72, 0x100000);                  // stack reserve
    PatchLe32(image, at + 72 + sizeField, 0x1000);        // stack commit
    PatchLe32(image, at + 72 + 2 * sizeField, 0x100000);  // heap reserve
    PatchLe32(image, at + 72 + 3 * sizeField, 0x1000);    // heap commit
    const size_t directories = at + (x64 ? kPe32PlusFixedSize : kOptionalHeaderReadSize);
    PatchLe32(image, directories - 4, x64 ? kPe32PlusDirectoryCount : kDataDirectoryCount);
    PatchLe32(image, directories + 8 * kImportDirectory, plan.importTableRva);
    PatchLe32(image, directories + 8 * kImportDirectory + 4, plan.importTableSize);
    PatchLe32(image, directories + 8 * kImportAddressTableDirectory, plan.importAddressTableRva);
    PatchLe32(image, directories + 8 * kImportAddressTableDirectory + 4, plan.importAddressTableSize);
}

void WriteSectionHeader(std::vector<uint8_t>& image, size_t at, const SampleSection& section)
{
    PutBytes(image, at, section.name, strnlen(section.name, 8));
    PatchLe32(image, at + 8, section.virtualSize);
    PatchLe32(image, at + 12, section.virtualAddress);
    PatchLe32(image, at + 16, section.sizeOfRawData);
    PatchLe32(image, at + 20, section.pointerToRawData);
    PatchLe32(image, at + 36, section.characteristics);
}

}  // namespace

void PatchLe16(std::vector<uint8_t>& image, size_t offset, uint16_t value)
{
    const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    PutBytes(image, offset, bytes, sizeof bytes);
}

void PatchLe32(std::vector<uint8_t>& image, size_t offset, uint32_t value)
{
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    PutBytes(image, offset, bytes, sizeof bytes);
}

std::vector<uint8_t> EmitPeImage(const PeImageSpec& plan)
{
    const size_t headerEnd = size_t{plan.peOffset} + kSectionTableOffset + plan.sections.size() * kSectionHeaderSize;
    std::vector<uint8_t> image(std::max<size_t>(plan.fileLength, headerEnd));
    WriteDosHeader(image, plan.peOffset);
    std::memcpy(image.data() + plan.peOffset, "PE\0\0", 4);

    const size_t fileHeader = size_t{plan.peOffset} + kFileHeaderOffset;
    const bool x64 = plan.machine == SAMPLE_X64;
    PatchLe16(image, fileHeader + 0, x64 ? kMachineX64 : kMachineI386);
    PatchLe16(image, fileHeader + 2, static_cast<uint16_t>(plan.sections.size()));
    PatchLe16(image, fileHeader + 16, plan.sizeOfOptionalHeader);
    PatchLe16(image, fileHeader + 18, x64 ? kExecutableImage64 : kExecutableImage);

    WriteOptionalHeader(image, size_t{plan.peOffset} + kOptionalHeaderOffset, plan);
    for (size_t i = 0; i < plan.sections.size(); ++i)
        WriteSectionHeader(image, size_t{plan.peOffset} + kSectionTableOffset + i * kSectionHeaderSize,
                           plan.sections[i]);
    image.resize(plan.fileLength);
    return image;
}
