#include "system/process_list.h"

#include <new>

#include "engine/text_buffer.h"
#include "system/platform_handles.h"

namespace {
constexpr DWORD kMaxProcesses = 1024;
constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
using EnumProcessesFn = BOOL WINAPI(DWORD*, DWORD, DWORD*);
using GetModuleFileNameExFn = DWORD WINAPI(HANDLE, HMODULE, char*, DWORD);
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
    if (!node) return false;
    node->processId = processId;
    CopyText(node->imagePath, imagePath);
    (tail_ ? tail_->next : head_) = node;
    tail_ = node;
    return true;
}

bool ProcessImageList::Build()
{
    // Loaded by name: NT 4 may lack psapi.dll, and a missing import would stop the program from starting.
    ScopedLibrary psapi("psapi.dll");
    auto enumProcesses = psapi.Resolve<EnumProcessesFn>("EnumProcesses");
    if (!enumProcesses) return false;
    DWORD ids[kMaxProcesses] = {};
    DWORD bytes = 0;
    enumProcesses(ids, sizeof ids, &bytes);
    DWORD count = bytes / sizeof ids[0];
    if (count == 0) return false;
    auto moduleFileName = psapi.Resolve<GetModuleFileNameExFn>("GetModuleFileNameExA");
    if (!moduleFileName) return false;

    for (DWORD i = 0; i < count && i < kMaxProcesses; ++i) {
        ScopedHandle process(OpenProcess(kQueryAndRead, FALSE, ids[i]));
        char path[MAX_PATH] = "";
        if (!process.IsValid() || moduleFileName(process.Get(), nullptr, path, MAX_PATH) == 0) continue;
        path[MAX_PATH - 1] = '\0';
        if (!Append(ids[i], path)) {
            Clear();  // a partial list is not trusted: act on none
            break;
        }
    }
    return true;
}
