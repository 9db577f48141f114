#include "engine/descriptor_file_win.h"

#include <fcntl.h>
#include <io.h>

#include <climits>
#include <cstdio>

DescriptorFile::DescriptorFile(const char* path) : fd_(_open(path, _O_RDONLY | _O_BINARY)) {}

DescriptorFile::~DescriptorFile()
{
    Close();
}

void DescriptorFile::Close()
{
    if (fd_ != -1) _close(fd_);
    fd_ = -1;
}

bool DescriptorFile::Length(uint32_t* length)
{
    long size = _filelength(fd_);
    if (size < 0) return false;
    *length = static_cast<uint32_t>(size);
    return true;
}

bool DescriptorFile::ReadAt(uint32_t offset, void* buffer, uint32_t size)
{
    // The runtime seeks to signed 32-bit positions only.
    if (offset > static_cast<uint32_t>(LONG_MAX) || size > static_cast<uint32_t>(INT_MAX)) return false;
    if (_lseek(fd_, static_cast<long>(offset), SEEK_SET) == -1L) return false;
    return _read(fd_, buffer, size) == static_cast<int>(size);
}
