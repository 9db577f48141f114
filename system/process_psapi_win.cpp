#include "system/process_kill.h"

#include <windows.h>

#include "base/platform_handles.h"
#include "system/process_list.h"
#include "system/process_match.h"

namespace {
constexpr DWORD kAfterTerminateMs = 500;
constexpr DWORD kTerminateAndQuery = PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION;
}  // namespace

int KillByPsapi(const char* path)
{
    ProcessImageList processes;
    if (!processes.CollectByPsapi()) return 0;
    for (const ProcessImageNode* node = processes.First(); node; node = node->next) {
        if (!PsapiPathMatches(path, node->imagePath)) continue;
        ScopedHandle process(OpenProcess(kTerminateAndQuery, FALSE, node->processId));
        if (process.IsValid() && TerminateProcess(process.Get(), 0)) {
            process.Close();
            Sleep(kAfterTerminateMs);
        }
    }
    return 1;
}
