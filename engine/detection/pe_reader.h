// Reading the few PE header fields the matcher uses, through a seek-and-read interface so that the same code
// runs over a Windows file descriptor, a native file or a buffer in memory.
#pragma once

#include <cstdint>

// The runtime's seek takes a signed 32-bit position: nothing at or beyond 2^31 can be reached.
constexpr uint32_t kMaxSeekOffset = 0x7FFFFFFF;

// A file opened for reading in untranslated byte mode.
class RandomAccessFile {
public:
    virtual ~RandomAccessFile() = default;
    // Reads exactly `size` bytes at `offset` from the start. False when the seek fails (offsets above
    // kMaxSeekOffset cannot be sought) or fewer bytes are there. A seek past the end succeeds, so reading
    // 0 bytes there succeeds too.
    virtual bool ReadAt(uint32_t offset, void* buffer, uint32_t size) = 0;
};

constexpr int kMaxSections = 20;

struct PeSection {
    uint32_t virtualSize;
    uint32_t virtualAddress;
    uint32_t pointerToRawData;
};

struct PeHeaders {
    uint16_t numberOfSections;
    uint32_t addressOfEntryPoint;
    uint32_t sizeOfHeaders;
    PeSection sections[kMaxSections];  // cleared before each file's section table is read
};

// Layout of the parts of a PE file the reader looks at.
constexpr uint32_t kPeOffsetField = 0x3C;  // e_lfanew in the DOS header
constexpr uint32_t kFileHeaderOffset = 4;  // behind "PE\0\0"
constexpr uint32_t kFileHeaderSize = 20;
constexpr uint32_t kOptionalHeaderOffset = 24;
constexpr uint32_t kOptionalHeaderReadSize = 96;  // up to NumberOfRvaAndSizes, without the data directories
// The section table is taken to follow a PE32 optional header with all 16 data directories (24 + 224);
// SizeOfOptionalHeader is not consulted.
constexpr uint32_t kSectionTableOffset = 248;
constexpr uint32_t kSectionHeaderSize = 40;

// 1 when the file has a PE header the matcher can use (at most 20 sections), 0 otherwise (short file, no
// "PE\0\0", more than 20 sections, failed seek or read). `headers` is cleared first.
int ReadPeHeaders(RandomAccessFile& file, PeHeaders& headers);

// Why ReadPeHeaders refuses a file, for the table maintainers' tool; the scan needs only yes or no.
enum PeHeaderFault {
    PE_HEADERS_USABLE,
    PE_FAULT_NO_OFFSET_FIELD,      // the file ends before the PE header offset at 0x3C
    PE_FAULT_NO_SIGNATURE,         // no "PE\0\0" where that offset points
    PE_FAULT_SHORT_HEADERS,        // the file or optional header is cut short
    PE_FAULT_TOO_MANY_SECTIONS,    // more than 20 sections
    PE_FAULT_SHORT_SECTION_TABLE,  // the section table is cut short
};

// ReadPeHeaders, naming the first test that fails.
PeHeaderFault ReadPeHeadersWithFault(RandomAccessFile& file, PeHeaders& headers);

// Maps an rva to a file offset through the section table; `fileLength` is the file's current length. An rva
// below the first section falls to section 0, one past the last to the last; a mapped offset at or beyond the
// end gives the rva itself, and an offset of 0 gives SizeOfHeaders.
uint32_t RvaToFileOffset(uint32_t rva, const PeHeaders& headers, uint32_t fileLength);
