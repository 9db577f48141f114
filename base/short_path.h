// The 8.3 form of a path, which Windows 9x's start-up processing needs and which another name of a file may be
// given in.
#pragma once

#include <cstddef>

// Writes the short form of the existing `path` into `out` (`size` bytes). False when the system cannot give it
// or it does not fit: the caller then has no name it could trust.
bool ShortPathOf(const char* path, char* out, size_t size);
