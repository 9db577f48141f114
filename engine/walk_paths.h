// Text rules of the directory walker. Patterns are a directory followed by "\*.*"; every result must fit a
// buffer of kTextBufferSize bytes, and a result that would not fit is refused (false), never truncated into
// another file's name.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/product.h"

// The prefix of `pattern` up to the character before its last '.', which removes a trailing "*.*" and keeps
// the backslash, followed by `name`. False when the pattern has no '.' or the result would not fit.
bool JoinAtLastDot(const char* pattern, const char* name, const char* suffix, char* out, size_t capacity);

// The pattern that lists a directory's subdirectories: the pattern cut right after its last '.' (if any),
// then "*". For a pattern ending in "\*.*" this is the same pattern.
bool DirectoryPattern(const char* pattern, char* out, size_t capacity);

// The status-line form of a path: a path longer than `maximum` becomes its first half, dots, and its last half,
// exactly `maximum` characters in all (with 60: 29 characters, "..", 29 characters). Shorter paths are copied.
void ShortenPathForDisplay(const char* source, char* destination, size_t capacity, int16_t maximum);

// The drive-root Program Files folder for a walk pattern of at most six characters ("C:\*.*"): the pattern cut
// right after its first ':' followed by "\Program Files". False for longer patterns or ones without ':'.
bool ProgramFilesFolder(const char* pattern, char* out, size_t capacity);

// True when a sub-pattern lies inside a folder spelled exactly "Program Files" (the test is case-sensitive).
bool IsInsideProgramFiles(const char* subPattern);
