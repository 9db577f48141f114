// Reading one text value under HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>

// Reads value `valueName` of key `keyPath` into `buffer`, which holds `capacity` bytes and always ends up
// zero-terminated. Returns 1 when the key opened, the value's size and contents were read and the key closed
// without error; 0 on any failure, also when the value with its terminator does not fit in `capacity` bytes
// (the read never writes past the buffer).
int ReadMachineRegistryString(const char* keyPath, const char* valueName, char* buffer, DWORD capacity);
