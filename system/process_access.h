// Acting on a process found by an enumeration. Its identifier was read earlier and may since have passed to
// another program; while a handle to the process is open the identifier cannot be reused. So every
// termination opens the process once, shows through that handle that it still runs the infected file, and
// terminates it through the same handle. A process whose image cannot be read is left alone.
#pragma once

#include <windows.h>
#include <psapi.h>

// Opens a process with the rights psapi.dll needs to read its image name; null when refused.
HANDLE OpenForQuery(DWORD processId);

// The full path of an open process's image into `path`; false when this way cannot tell.
using ImageReader = bool (*)(HANDLE process, DWORD processId, char (&path)[MAX_PATH]);
// QueryFullProcessImageNameA, Vista onwards.
bool ImageByFullName(HANDLE process, DWORD processId, char (&path)[MAX_PATH]);
// psapi.dll's name of the main module (the NT family; needs query and memory-read rights).
bool ImageByModuleName(HANDLE process, DWORD processId, char (&path)[MAX_PATH]);
// A toolhelp snapshot, taken while the handle keeps the identifier ours (Windows 9x, and 2000 onwards).
bool ImageBySnapshot(HANDLE process, DWORD processId, char (&path)[MAX_PATH]);

// The main module's name through psapi.dll's resolved GetModuleFileNameExA; false when none came back or it
// was cut.
bool ReadModuleFileName(decltype(&::GetModuleFileNameExA) moduleFileName, HANDLE process, char (&path)[MAX_PATH]);

// The image path names the infected file (system/process_match.h), short forms read from the file system.
bool IsImagePath(const char* targetPath, const char* imagePath);

// Opens `processId`, confirms through that handle, by the first reader above that answers, that its image is
// `imagePath`, and terminates it through the same handle with exit code 0. True when it was terminated.
bool TerminateIfImage(DWORD processId, const char* imagePath);
