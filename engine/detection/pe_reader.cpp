#include "engine/detection/pe_reader.h"

#include <cstring>

namespace {

uint16_t ReadLe16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t ReadLe32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

// Reads at a header position computed from e_lfanew. The sum is taken in 64 bits: a position that would
// wrap past 2^32 into a small offset is a failed seek, like any other position the runtime cannot reach.
bool ReadAtPosition(RandomAccessFile& file, uint64_t position, void* buffer, uint32_t size)
{
    if (position > kMaxSeekOffset) return false;
    return file.ReadAt(static_cast<uint32_t>(position), buffer, size);
}

// Field positions inside the parts that are read.
constexpr int kNumberOfSectionsField = 2;  // in the file header
constexpr int kEntryPointField = 16;       // in the optional header
constexpr int kSizeOfHeadersField = 60;    // in the optional header
constexpr int kVirtualSizeField = 8;       // in a section header
constexpr int kVirtualAddressField = 12;
constexpr int kPointerToRawDataField = 20;

}  // namespace

PeHeaderFault ReadPeHeadersWithFault(RandomAccessFile& file, PeHeaders& headers)
{
    std::memset(&headers, 0, sizeof headers);

    uint8_t field[4];
    if (!file.ReadAt(kPeOffsetField, field, sizeof field)) return PE_FAULT_NO_OFFSET_FIELD;
    const uint64_t peOffset = ReadLe32(field);  // no "MZ" check: only e_lfanew counts

    uint8_t signature[4];
    if (!ReadAtPosition(file, peOffset, signature, sizeof signature)) return PE_FAULT_NO_SIGNATURE;
    if (std::memcmp(signature, "PE\0\0", 4) != 0) return PE_FAULT_NO_SIGNATURE;

    uint8_t fileHeader[kFileHeaderSize];
    if (!ReadAtPosition(file, peOffset + kFileHeaderOffset, fileHeader, sizeof fileHeader))
        return PE_FAULT_SHORT_HEADERS;
    uint8_t optionalHeader[kOptionalHeaderReadSize];
    if (!ReadAtPosition(file, peOffset + kOptionalHeaderOffset, optionalHeader, sizeof optionalHeader))
        return PE_FAULT_SHORT_HEADERS;

    const uint16_t sectionCount = ReadLe16(fileHeader + kNumberOfSectionsField);
    if (sectionCount > kMaxSections) return PE_FAULT_TOO_MANY_SECTIONS;

    uint8_t sectionTable[kMaxSections * kSectionHeaderSize];
    if (!ReadAtPosition(file, peOffset + kSectionTableOffset, sectionTable, sectionCount * kSectionHeaderSize))
        return PE_FAULT_SHORT_SECTION_TABLE;

    headers.numberOfSections = sectionCount;
    headers.addressOfEntryPoint = ReadLe32(optionalHeader + kEntryPointField);
    headers.sizeOfHeaders = ReadLe32(optionalHeader + kSizeOfHeadersField);
    for (int i = 0; i < sectionCount; ++i) {
        const uint8_t* entry = sectionTable + i * kSectionHeaderSize;
        headers.sections[i].virtualSize = ReadLe32(entry + kVirtualSizeField);
        headers.sections[i].virtualAddress = ReadLe32(entry + kVirtualAddressField);
        headers.sections[i].pointerToRawData = ReadLe32(entry + kPointerToRawDataField);
    }
    return PE_HEADERS_USABLE;
}

int ReadPeHeaders(RandomAccessFile& file, PeHeaders& headers)
{
    return ReadPeHeadersWithFault(file, headers) == PE_HEADERS_USABLE ? 1 : 0;
}

uint32_t RvaToFileOffset(uint32_t rva, const PeHeaders& headers, uint32_t fileLength)
{
    static const PeSection kClearedSection = {0, 0, 0};
    const int count = headers.numberOfSections < kMaxSections ? headers.numberOfSections : kMaxSections;

    // The section's start is not compared: an rva below the first section falls to section 0.
    const PeSection* chosen = count > 0 ? &headers.sections[count - 1] : &kClearedSection;
    for (int i = 0; i < count; ++i) {
        const PeSection& section = headers.sections[i];
        if (static_cast<uint32_t>(section.virtualAddress + section.virtualSize) > rva) {
            chosen = &section;
            break;
        }
    }

    uint32_t offset = rva + chosen->pointerToRawData - chosen->virtualAddress;
    if (offset >= fileLength) offset = rva;
    return offset == 0 ? headers.sizeOfHeaders : offset;
}
