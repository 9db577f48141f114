// A file on disk read the way the scan reads it: a seek and a read that must deliver every byte.
#pragma once

#include <cstdint>

#include "engine/detection/pe_reader.h"

class DiskFile : public RandomAccessFile {
public:
    // Opens a regular file for reading; anything else (a folder, a device, a pipe) is not opened.
    explicit DiskFile(const char* path);
    ~DiskFile() override;
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // The length when it was opened.
    int64_t Length() const { return length_; }
    bool ReadAt(uint32_t offset, void* buffer, uint32_t size) override;

private:
    int fd_ = -1;
    int64_t length_ = 0;
};
