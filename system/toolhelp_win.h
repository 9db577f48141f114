// The toolhelp process snapshot, its functions resolved by name from "Kernel32.dll": NT 4 has none of them,
// and a missing import would keep the program from starting there at all.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include "base/platform_handles.h"

// The program is 32-bit and hands Windows 9x its 296-byte ANSI entry; the 64-bit test build has a wider one.
static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32) == 296, "the ANSI process entry of Windows 9x");

class ToolhelpProcesses {
public:
    enum class Step { Entry, End, Unavailable };

    ToolhelpProcesses();
    ToolhelpProcesses(const ToolhelpProcesses&) = delete;
    ToolhelpProcesses& operator=(const ToolhelpProcesses&) = delete;

    bool LibraryLoaded() const { return kernel_.IsLoaded(); }
    // Takes the snapshot of every process; false when a function is missing or the snapshot fails.
    bool TakeSnapshot();
    // The first entry, into `entry` (its size field set here); false when there is none.
    bool First(PROCESSENTRY32& entry);
    // "Process32Next" is resolved anew before every entry, as Windows 9x's own tools do.
    Step Next(PROCESSENTRY32& entry);
    // The full path of the process's executable: the entry's own name on Windows 9x; the NT family's toolhelp,
    // and Wine's in every version, gives the file name alone, so the first module of the process's module list,
    // its executable, gives the path there. Empty when neither has one; a name that fills its field without a
    // terminating zero counts as none.
    void ExecutablePath(const PROCESSENTRY32& entry, char (&path)[MAX_PATH]) const;

private:
    ScopedLibrary kernel_;
    ScopedHandle snapshot_;
};
