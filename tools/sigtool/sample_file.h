// One file opened, and its headers read, as the matcher does: what `make` and `explain` look at.
#pragma once

#include <cstdint>
#include <string>

#include "engine/detection/pe_reader.h"
#include "tools/sigtool/disk_file.h"

struct SampleFile {
    explicit SampleFile(const std::string& samplePath) : path(samplePath), file(samplePath.c_str()) {}

    // False, with the reason, when the matcher would not look past the file's headers.
    bool ReadHeaders(std::string& error);

    const std::string path;
    DiskFile file;
    PeHeaders headers{};
    int32_t length = 0;  // valid after ReadHeaders succeeded
};

// "rva 0x1F4C"; and "file offset 0x400".
std::string RvaText(uint32_t rva);
std::string FileOffsetText(uint32_t offset);
