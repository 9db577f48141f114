// The directory walker: shows every entry on the status line, hands every file to the checks of
// FileCheckList, then descends into every subdirectory, depth first. Between entries it dispatches one pending
// window message, which keeps the window alive and is where a request to terminate takes effect.
#pragma once

#include <cstdint>

using FileCheck = int (*)(const char* label, const char* path);

struct FileCheckEntry {
    const char* label;
    FileCheck check;  // non-zero: the file is handled, later checks are not called
};

// Ends with an entry whose label is null.
extern const FileCheckEntry FileCheckList[];

class EnteredFolders;

// Walks `pattern` (a directory followed by "\*.*", or in memory-scan mode one file's full path: that file
// alone is shown and checked, nothing beside it is entered) as one walk of the scan whose folders `entered`
// records: a folder the scan has entered already, through a link or under another spelling, is not entered
// again (it counts as walked).
// Returns Scan.filesScanned after a complete walk, 0 when terminateRequested stopped it, -1 when a pattern
// lacked the '.' needed to cut it (every enclosing level then returns -1 too).
int WalkDirectory(const char* pattern, EnteredFolders& entered);

// The same as a walk of its own, which shares no folder with any other: the memory scan's form.
int WalkDirectory(const char* pattern);

// Takes at most one message from the queue without waiting. A press of Escape asks whether to terminate the
// scan (its release, character and repeats are dropped); WM_QUIT and WM_DESTROY terminate it; anything else is
// dispatched.
void PumpPendingMessage();
