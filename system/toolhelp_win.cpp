#include "system/toolhelp_win.h"

#include <cstring>

#include "base/text_buffer.h"

ToolhelpProcesses::ToolhelpProcesses() : kernel_("Kernel32.dll") {}

bool ToolhelpProcesses::TakeSnapshot()
{
    auto createSnapshot = RESOLVE_DECLARED(kernel_, CreateToolhelp32Snapshot);
    if (!createSnapshot) return false;
    snapshot_.Reset(createSnapshot(TH32CS_SNAPPROCESS, 0));
    return snapshot_.IsValid();
}

bool ToolhelpProcesses::First(PROCESSENTRY32& entry)
{
    auto first = RESOLVE_DECLARED(kernel_, Process32First);
    entry = {};
    entry.dwSize = sizeof entry;
    return first && snapshot_.IsValid() && first(snapshot_.Get(), &entry);
}

ToolhelpProcesses::Step ToolhelpProcesses::Next(PROCESSENTRY32& entry)
{
    auto next = RESOLVE_DECLARED(kernel_, Process32Next);
    if (!next) return Step::Unavailable;
    return next(snapshot_.Get(), &entry) ? Step::Entry : Step::End;
}

void ToolhelpProcesses::ExecutablePath(const PROCESSENTRY32& entry, char (&path)[MAX_PATH]) const
{
    CopyFieldText(path, entry.szExeFile);
    if (std::strchr(path, '\\')) return;
    path[0] = '\0';
    auto createSnapshot = RESOLVE_DECLARED(kernel_, CreateToolhelp32Snapshot);
    auto firstModule = RESOLVE_DECLARED(kernel_, Module32First);
    if (!createSnapshot || !firstModule) return;
    ScopedHandle modules(createSnapshot(TH32CS_SNAPMODULE, entry.th32ProcessID));
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    if (modules.IsValid() && firstModule(modules.Get(), &module)) CopyFieldText(path, module.szExePath);
}
