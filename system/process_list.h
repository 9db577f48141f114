// The running processes with their image paths, as the process-status library (psapi.dll, NT) reports them.
#pragma once

#include <windows.h>

constexpr int kImagePathSize = 340;  // at most MAX_PATH characters are filled

struct ProcessImageNode {
    DWORD processId;
    char imagePath[kImagePathSize];
    ProcessImageNode* next;
};

// A list built by one call and freed by its owner; nodes are in enumeration order.
class ProcessImageList {
public:
    ProcessImageList() = default;
    ~ProcessImageList();
    ProcessImageList(const ProcessImageList&) = delete;
    ProcessImageList& operator=(const ProcessImageList&) = delete;

    // Enumerates through psapi.dll, loaded at run time. False when the library, a function or the
    // enumeration is missing; true otherwise. Lack of memory leaves the list empty (still true).
    bool Build();
    const ProcessImageNode* First() const { return head_; }

private:
    bool Append(DWORD processId, const char* imagePath);
    void Clear();

    ProcessImageNode* head_ = nullptr;
    ProcessImageNode* tail_ = nullptr;
};
