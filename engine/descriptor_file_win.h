// A file opened with the C runtime's descriptor input in untranslated byte mode, as both matchers read it.
#pragma once

#include <cstdint>

#include "engine/detection/text_pattern.h"

class DescriptorFile : public TextSource {
public:
    explicit DescriptorFile(const char* path);
    ~DescriptorFile() override;
    DescriptorFile(const DescriptorFile&) = delete;
    DescriptorFile& operator=(const DescriptorFile&) = delete;

    bool IsOpen() const { return fd_ != -1; }
    void Close();
    bool Length(uint32_t* length) override;
    bool ReadAt(uint32_t offset, void* buffer, uint32_t size) override;

private:
    int fd_;
};
