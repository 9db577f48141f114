// How each enumeration road recognises a process that runs the infected file. The roads name processes
// differently, so each has its own rule.
#pragma once

#include <cstddef>

// Toolhelp (9x): the entry's executable file name, without directory, equals the target's, ignoring case.
bool ToolhelpNameMatches(const char* targetPath, const char* exeFile);
// Process-status library (NT 5): the full image path equals the target path, ignoring case.
bool PsapiPathMatches(const char* targetPath, const char* imagePath);

constexpr size_t kPerfTargetSize = 264;
// Performance data names a process by its image's base name: the upper-cased file name without directory
// and without its last four characters (C:\WINDOWS\SYSTEM32\ABC.EXE gives ABC). False when the path has four
// characters or fewer, or the base name is empty: an empty target would match every process.
bool PerfDataTarget(const char* path, char (&target)[kPerfTargetSize]);
// The instance name begins with the target, ignoring case (so ABC matches abcd and ABC#1).
bool PerfInstanceMatches(const char* instanceName, const char* target);
