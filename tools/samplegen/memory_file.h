// A file held in memory, for the matcher's tests and fuzzing: reads behave like the runtime's seek and read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/detection/pe_reader.h"

class MemoryFile : public RandomAccessFile {
public:
    MemoryFile(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit MemoryFile(const std::vector<uint8_t>& bytes) : MemoryFile(bytes.data(), bytes.size()) {}

    bool ReadAt(uint32_t offset, void* buffer, uint32_t size) override
    {
        ++readCount;
        if (offset > kMaxSeekOffset) return false;  // a seek to a negative position fails
        if (size == 0) return true;                 // the seek may pass the end; reading nothing succeeds
        if (uint64_t{offset} + size > size_) return false;
        std::memcpy(buffer, data_ + offset, size);
        return true;
    }

    int readCount = 0;

private:
    const uint8_t* data_;
    size_t size_;
};
