// Reading a registry value's data as text: the one rule by which the program reads any value.
#pragma once

#include <windows.h>

#include <cstddef>

// Reads `valueName` of the open `key` into `buffer` (`capacity` bytes), whole or not at all: the data must fit
// together with its terminating zero, which is added when the value was stored without one, since a cut-off
// text could name something else. True: `buffer` holds the data, terminated (zero bytes follow it up to
// `capacity`), `*type` the value's type and `*length` the data's length in bytes as stored, where asked for.
// False: `buffer` holds zero bytes only.
bool ReadValueText(HKEY key, const char* valueName, char* buffer, size_t capacity, DWORD* type = nullptr,
                   DWORD* length = nullptr);

// Opens root\subkey for reading and reads `valueName` by the rule above. 1 when the value was read and the key
// closed without error; 0 otherwise, with `buffer` holding zero bytes only when the read failed.
int ReadRegistryValue(HKEY root, const char* subkey, const char* valueName, char* buffer, unsigned long capacity);
