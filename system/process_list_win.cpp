#include "system/process_list.h"

#include <tlhelp32.h>

#include <cstring>
#include <new>

#include "engine/text_buffer.h"
#include "system/platform_handles.h"

namespace {

constexpr DWORD kMaxProcesses = 1024;
constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;

// The program is 32-bit and hands Windows 9x its 296-byte ANSI entry; the 64-bit test build has a wider one.
static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32) == 296, "the ANSI process entry of Windows 9x");
using CreateSnapshotFn = HANDLE WINAPI(DWORD, DWORD);
using ProcessWalkFn = BOOL WINAPI(HANDLE, PROCESSENTRY32*);
using ModuleWalkFn = BOOL WINAPI(HANDLE, MODULEENTRY32*);
using EnumProcessesFn = BOOL WINAPI(DWORD*, DWORD, DWORD*);
using GetModuleFileNameExFn = DWORD WINAPI(HANDLE, HMODULE, char*, DWORD);

// Windows 9x names a process by its executable's full path; the NT family's toolhelp, and Wine's in every
// version, gives the file name alone, which no file test can find. The first module of the process's own
// module list is its executable, with the full path. Empty when that list cannot be had.
void ExecutablePath(const ScopedLibrary& kernel, const PROCESSENTRY32& process, char (&path)[MAX_PATH])
{
    CopyText(path, process.szExeFile);
    if (std::strchr(path, '\\')) return;
    path[0] = '\0';
    auto createSnapshot = kernel.Resolve<CreateSnapshotFn>("CreateToolhelp32Snapshot");
    auto firstModule = kernel.Resolve<ModuleWalkFn>("Module32First");
    if (!createSnapshot || !firstModule) return;
    ScopedHandle modules(createSnapshot(TH32CS_SNAPMODULE, process.th32ProcessID));
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    if (modules.IsValid() && firstModule(modules.Get(), &module)) CopyText(path, module.szExePath);
}

}  // namespace

HANDLE OpenForQuery(DWORD processId)
{
    return OpenProcess(kQueryAndRead, FALSE, processId);
}

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
    ScopedLibrary kernel("Kernel32.dll");
    auto createSnapshot = kernel.Resolve<CreateSnapshotFn>("CreateToolhelp32Snapshot");
    auto first = kernel.Resolve<ProcessWalkFn>("Process32First");
    if (!createSnapshot || !first) return false;
    ScopedHandle snapshot(createSnapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid()) return false;

    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    char path[MAX_PATH];
    if (!first(snapshot.Get(), &entry)) return false;
    for (;;) {
        ExecutablePath(kernel, entry, path);
        if (!Append(entry.th32ProcessID, path)) return false;
        auto next = kernel.Resolve<ProcessWalkFn>("Process32Next");
        if (!next) {
            Clear();
            return false;
        }
        if (!next(snapshot.Get(), &entry)) return true;
    }
}

bool ProcessImageList::CollectByPsapi(ProcessOpener open)
{
    ScopedLibrary psapi("psapi.dll");
    auto enumProcesses = psapi.Resolve<EnumProcessesFn>("EnumProcesses");
    if (!enumProcesses) return false;
    DWORD ids[kMaxProcesses] = {};
    DWORD bytes = 0;
    enumProcesses(ids, sizeof ids, &bytes);
    const DWORD count = bytes / sizeof ids[0];
    if (count == 0) return false;
    auto moduleFileName = psapi.Resolve<GetModuleFileNameExFn>("GetModuleFileNameExA");
    if (!moduleFileName) return false;

    for (DWORD i = 0; i < count && i < kMaxProcesses; ++i) {
        ScopedHandle process(open(ids[i]));
        char path[MAX_PATH] = "";
        if (!process.IsValid() || moduleFileName(process.Get(), nullptr, path, MAX_PATH) == 0) continue;
        path[MAX_PATH - 1] = '\0';
        if (!Append(ids[i], path)) return false;
    }
    return true;
}
