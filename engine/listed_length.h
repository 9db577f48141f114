// How far the file check may trust the length a directory listing gives for an entry.
#pragma once

#include <cstdint>

constexpr uint32_t kReparsePointAttribute = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT

// The entry's length from its listing, or -1 when only the open file can tell. On FAT and NTFS a file's
// listed length is its own, which lets the check pass over, unopened, every file no record accepts: that is
// what keeps a scan fast. A reparse point (a symbolic link to a file) is listed with length 0 while opening
// it reaches its target, so its length is unknown until it is open.
int64_t TrustedListedLength(uint32_t attributes, uint32_t sizeHigh, uint32_t sizeLow);
