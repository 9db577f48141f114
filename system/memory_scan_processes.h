// The processes the memory scan examines, with their image paths, as one enumeration saw them.
#pragma once

#include <windows.h>

#include "system/process_list.h"

class MemoryScanProcesses {
public:
    MemoryScanProcesses() = default;
    ~MemoryScanProcesses();
    MemoryScanProcesses(const MemoryScanProcesses&) = delete;
    MemoryScanProcesses& operator=(const MemoryScanProcesses&) = delete;

    // Windows 9x: every process of a toolhelp snapshot with its executable path. False, with an empty list,
    // when a function, the snapshot, its first entry or a node cannot be had: then nothing is scanned.
    bool CollectByToolhelp();
    // NT: every process whose main module's file name psapi.dll reports. A process that refuses to be opened
    // makes the program enable its debug privilege and try once more. False, with an empty list, when the
    // library, a function, the enumeration or a node cannot be had.
    bool CollectByPsapi();

    const ProcessImageNode* First() const { return head_; }

private:
    bool Append(DWORD processId, const char* imagePath);
    void Clear();

    ProcessImageNode* head_ = nullptr;
    ProcessImageNode* tail_ = nullptr;
};
