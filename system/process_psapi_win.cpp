#include "system/process_kill.h"

#include <windows.h>

#include "system/process_access.h"
#include "system/process_list.h"

namespace {
constexpr DWORD kAfterTerminateMs = 500;
}  // namespace

int KillByPsapi(const char* path)
{
    ProcessImageList processes;
    if (!processes.CollectByPsapi(OpenForQuery)) return 0;
    for (const ProcessImageNode* node = processes.First(); node; node = node->next)
        if (IsImagePath(path, node->imagePath) && TerminateIfImage(node->processId, path)) Sleep(kAfterTerminateMs);
    return 1;
}
