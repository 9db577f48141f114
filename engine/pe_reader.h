// Reading the few PE header fields the matcher uses, through a seek-and-read interface so that the same code
// runs over a Windows file descriptor, a native file or a buffer in memory.
#pragma once

#include <cstdint>

// A file opened for reading in untranslated byte mode.
class RandomAccessFile {
public:
    virtual ~RandomAccessFile() = default;
    // Reads exactly `size` bytes at `offset` from the start. False when the seek fails (offsets of 2^31 and
    // above cannot be sought: the runtime's seek takes a signed 32-bit position) or fewer bytes are there.
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

// 1 when the file has a PE header the matcher can use (at most 20 sections), 0 otherwise.
int ReadPeHeaders(RandomAccessFile& file, PeHeaders& headers);

// Maps an rva to a file offset through the section table; `fileLength` is the file's current length.
uint32_t RvaToFileOffset(uint32_t rva, const PeHeaders& headers, uint32_t fileLength);
