// How each enumeration road recognises a process that runs the infected file. The roads name processes
// differently, so each has its own first rule; a process it picks is then shown, through an open handle, to
// run the file itself (system/process_access.h).
#pragma once

#include <cstddef>

// A path's short (8.3) form into `out` (at most `size` bytes); false when it has none, e.g. the file is gone.
using ShortPathReader = bool (*)(const char* path, char* out, size_t size);
// The image path names the infected file: the same path ignoring case, or, when either is a short form (a
// generated short name carries a '~'), the same short forms.
bool SameImagePath(const char* targetPath, const char* imagePath, ShortPathReader shortForm);

constexpr size_t kPerfTargetSize = 264;
// Performance data names a process by its image's base name: the upper-cased file name without directory
// and without its last four characters (C:\WINDOWS\SYSTEM32\ABC.EXE gives ABC). False when the path has four
// characters or fewer, or the base name is empty: an empty target would match every process.
bool PerfDataTarget(const char* path, char (&target)[kPerfTargetSize]);
// The instance name is the target, or the target followed by '#' and decimal digits (the name the system
// gives a further copy of one program), ignoring case. So ABC matches abc and ABC#1, never abcd.
bool PerfInstanceMatches(const char* instanceName, const char* target);
