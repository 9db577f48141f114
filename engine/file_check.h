// The one check of FileCheckList: match a file against the signature table and remove it when infected.
#pragma once

// 1 when the file was found infected (ordinary pass or memory-scan mode), 0 otherwise, and always 0 in the
// memory removal pass.
int CheckFile(const char* label, const char* path);
