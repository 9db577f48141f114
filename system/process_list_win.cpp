#include "system/process_list.h"

#include <cstring>
#include <new>

#include "base/platform_handles.h"
#include "base/text_buffer.h"
#include "system/process_access.h"
#include "system/toolhelp_win.h"

namespace {
constexpr DWORD kMaxProcesses = 1024;
}  // namespace

ProcessImageList::~ProcessImageList()
{
    Clear();
}

void ProcessImageList::Clear()
{
    tail_ = nullptr;
    while (head_) {
        ProcessImageNode* next = head_->next;
        delete head_;
        head_ = next;
    }
}

bool ProcessImageList::Append(DWORD processId, const char* imagePath)
{
    auto* node = new (std::nothrow) ProcessImageNode();
    if (!node) {
        Clear();
        return false;
    }
    node->processId = processId;
    CopyText(node->imagePath, MAX_PATH, imagePath);
    (tail_ ? tail_->next : head_) = node;
    tail_ = node;
    return true;
}

bool ProcessImageList::CollectByToolhelp()
{
    ToolhelpProcesses processes;
    PROCESSENTRY32 entry;
    if (!processes.TakeSnapshot() || !processes.First(entry)) return false;
    char path[MAX_PATH];
    for (;;) {
        processes.ExecutablePath(entry, path);
        if (!Append(entry.th32ProcessID, path)) return false;
        switch (processes.Next(entry)) {
        case ToolhelpProcesses::Step::Entry:
            break;
        case ToolhelpProcesses::Step::End:
            return true;
        case ToolhelpProcesses::Step::Unavailable:
            Clear();
            return false;
        }
    }
}

bool ProcessImageList::CollectByPsapi(ProcessOpener open)
{
    ScopedLibrary psapi("psapi.dll");
    auto enumProcesses = RESOLVE_DECLARED(psapi, EnumProcesses);
    if (!enumProcesses) return false;
    DWORD ids[kMaxProcesses] = {};
    DWORD bytes = 0;
    enumProcesses(ids, sizeof ids, &bytes);
    const DWORD count = bytes / sizeof ids[0];
    if (count == 0) return false;
    auto moduleFileName = RESOLVE_DECLARED(psapi, GetModuleFileNameExA);
    if (!moduleFileName) return false;

    for (DWORD i = 0; i < count && i < kMaxProcesses; ++i) {
        ScopedHandle process(open(ids[i]));
        char path[MAX_PATH];
        if (!process.IsValid() || !ReadModuleFileName(moduleFileName, process.Get(), path)) continue;
        if (!Append(ids[i], path)) return false;
    }
    return true;
}
