#include "system/process_access.h"

#include "base/platform_handles.h"
#include "base/short_path.h"
#include "system/process_match.h"
#include "system/toolhelp_win.h"

namespace {
// Every right the program asks of another process, in one place.
constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
constexpr DWORD kTerminateAndRead = PROCESS_TERMINATE | kQueryAndRead;
// From Vista on, a process that refuses the full query right may still grant the limited one, which is enough
// to read its image by full name; before Vista no reader works through such a handle, and the process is left
// alone.
constexpr DWORD kTerminateAndQueryLimited = PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION;

bool ReadImage(HANDLE process, DWORD processId, char (&path)[MAX_PATH])
{
    static const ImageReader kReaders[] = {ImageByFullName, ImageByModuleName, ImageBySnapshot};
    for (ImageReader read : kReaders)
        if (read(process, processId, path)) return true;
    return false;
}
}  // namespace

HANDLE OpenForQuery(DWORD processId)
{
    return OpenProcess(kQueryAndRead, FALSE, processId);
}

bool ImageByFullName(HANDLE process, DWORD, char (&path)[MAX_PATH])
{
    ScopedLibrary kernel("kernel32.dll");
    auto queryName = RESOLVE_DECLARED(kernel, QueryFullProcessImageNameA);
    DWORD size = MAX_PATH;
    if (!queryName || !queryName(process, 0, path, &size) || size == 0 || size >= MAX_PATH) return false;
    path[size] = '\0';
    return true;
}

bool ReadModuleFileName(decltype(&::GetModuleFileNameExA) moduleFileName, HANDLE process, char (&path)[MAX_PATH])
{
    // A name that fills the buffer may have been cut, and then need not be terminated.
    DWORD length = moduleFileName(process, nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 1) return false;
    path[length] = '\0';
    return true;
}

bool ImageByModuleName(HANDLE process, DWORD, char (&path)[MAX_PATH])
{
    ScopedLibrary psapi("psapi.dll");
    auto moduleFileName = RESOLVE_DECLARED(psapi, GetModuleFileNameExA);
    return moduleFileName && ReadModuleFileName(moduleFileName, process, path);
}

bool ImageBySnapshot(HANDLE process, DWORD processId, char (&path)[MAX_PATH])
{
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process, &exitCode) || exitCode != STILL_ACTIVE) return false;
    ToolhelpProcesses processes;
    PROCESSENTRY32 entry;
    if (!processes.TakeSnapshot() || !processes.First(entry)) return false;
    do {
        if (entry.th32ProcessID != processId) continue;
        processes.ExecutablePath(entry, path);
        return path[0] != '\0';
    } while (processes.Next(entry) == ToolhelpProcesses::Step::Entry);
    return false;
}

bool IsImagePath(const char* targetPath, const char* imagePath)
{
    return SameImagePath(targetPath, imagePath, ShortPathOf);
}

bool TerminateIfImage(DWORD processId, const char* imagePath)
{
    ScopedHandle process(OpenProcess(kTerminateAndRead, FALSE, processId));
    if (!process.IsValid()) process.Reset(OpenProcess(kTerminateAndQueryLimited, FALSE, processId));
    char image[MAX_PATH];
    return process.IsValid() && ReadImage(process.Get(), processId, image) && IsImagePath(imagePath, image) &&
           TerminateProcess(process.Get(), 0);
}
