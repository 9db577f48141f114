// What another process holds: kernel handles, GDI objects, USER objects and windows, read from outside while
// it runs, for leak checks. Windows answers GetProcessHandleCount and GetGuiResources; Wine 8 answers both
// with 0, so under Wine the handles are counted from the system's handle list and the GDI objects from the
// process's GDI handle table, and the USER count stays 0 (its windows are counted instead).
#pragma once

#include <windows.h>

#include <string>

namespace gui {

struct ResourceCounts {
    long handles = -1;      // kernel handles; -1 when unreadable
    long gdiObjects = -1;   // GDI objects; -1 when unreadable
    long userObjects = -1;  // USER objects as GetGuiResources reports them (0 under Wine)
    long windows = -1;      // top-level and child windows of the process
};

bool operator==(const ResourceCounts& a, const ResourceCounts& b);
std::string Describe(const ResourceCounts& counts);

// The counts of the process `processId` at rest: the lowest of several readings, so that objects of a paint
// in progress are not taken for a leak.
ResourceCounts ReadResourceCounts(DWORD processId);
// The same, taken again (a bounded number of times) until two takes in a row agree: a window still being set
// up, such as a question box loading its pictures, is not taken for one with fewer objects.
ResourceCounts ReadSettledResourceCounts(DWORD processId);

}  // namespace gui
