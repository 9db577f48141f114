// The text-pattern engine's check of one file on disk, with its removal.
#pragma once

// Checks one file (label unused) and deletes it on a hit when Scan.action is ACTION_DELETE, reporting
// "removed" or "Remove failed". 1 when the file matched, whatever became of it.
int CheckTextPatternFile(const char* label, const char* path);
