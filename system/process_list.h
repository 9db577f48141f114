// The running processes with their image paths, as one enumeration saw them. Toolhelp and psapi.dll are
// resolved at run time: NT 4 lacks the first and may lack the second, and a missing import would keep the
// program from starting at all.
#pragma once

#include <windows.h>

constexpr int kImagePathSize = 340;  // at most MAX_PATH characters are filled

struct ProcessImageNode {
    DWORD processId;
    char imagePath[kImagePathSize];
    ProcessImageNode* next;
};

// Opens a process so that its image name can be read (system/process_access.h OpenForQuery, or one that
// first raises the program's privilege).
using ProcessOpener = HANDLE (*)(DWORD processId);

// A list built by one call and freed by its owner; nodes are in enumeration order. Each Collect call returns
// false, with an empty list, when the library, a function, the enumeration or a node cannot be had: a partial
// list is never acted on.
class ProcessImageList {
public:
    ProcessImageList() = default;
    ~ProcessImageList();
    ProcessImageList(const ProcessImageList&) = delete;
    ProcessImageList& operator=(const ProcessImageList&) = delete;

    // Windows 9x: every process of a toolhelp snapshot with its executable's path.
    bool CollectByToolhelp();
    // NT: every process whose main module's file name psapi.dll reports; `open` opens each for that query.
    bool CollectByPsapi(ProcessOpener open);

    const ProcessImageNode* First() const { return head_; }

private:
    bool Append(DWORD processId, const char* imagePath);
    void Clear();

    ProcessImageNode* head_ = nullptr;
    ProcessImageNode* tail_ = nullptr;
};
