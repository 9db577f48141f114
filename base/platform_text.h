// Case rules of Windows file and registry names, for plain ASCII: the C locale's _stricmp and _strlwr do no
// more, and names outside ASCII are compared byte for byte.
#pragma once

#include <cstddef>

char ToLowerAscii(char c);
void LowerAscii(char* text);
void UpperAscii(char* text);
bool EqualsIgnoreCase(const char* a, const char* b);
// The first `count` bytes of `text` equal those of `prefix`, ignoring case (a shorter text does not match).
bool StartsWithIgnoreCase(const char* text, const char* prefix, size_t count);
// The part of `path` after its last backslash; all of it when there is none.
const char* FileNamePart(const char* path);
