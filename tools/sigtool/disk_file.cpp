#include "tools/sigtool/disk_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

DiskFile::DiskFile(const char* path)
{
    // Not blocking: opening a pipe found in a folder would otherwise wait for a writer.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return;
    }
    fd_ = fd;
    length_ = status.st_size;
}

DiskFile::~DiskFile()
{
    if (fd_ >= 0) close(fd_);
}

bool DiskFile::ReadAt(uint32_t offset, void* buffer, uint32_t size)
{
    if (offset > kMaxSeekOffset) return false;
    return pread(fd_, buffer, size, offset) == static_cast<ssize_t>(size);
}
