#include "repair/startup_entries.h"

#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>

#include "base/platform_handles.h"
#include "base/platform_text.h"
#include "base/progress_channel.h"
#include "base/registry_value.h"
#include "base/scan_state.h"
#include "base/text_buffer.h"
#include "repair/run_value.h"
#include "system/platform.h"

namespace {
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunServicesKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const char kWormUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
const char kWormUninstallKeyUpper[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
const char kRunKeyUpper[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRegistryRemoved[] = "System Registry     %s removed";

constexpr DWORD kValueNameSize = 16384;  // the registry's longest value name, 16,383 characters
constexpr DWORD kValueDataSize = 264;
constexpr DWORD kExpandedSize = 261;
constexpr DWORD kUninstallDataSize = 100;

void ReportRegistryRemoval(const char* name)
{
    if (Scan.mainWindow) AppendResultF(kRegistryRemoved, name);
}

// The hosts file sits in the system directory on NT and in the Windows directory on 9x.
bool HostsFilePath(char (&path)[kTextBufferSize])
{
    int platform = GetPlatformCode();
    UINT length;
    if (platform == PLATFORM_NT) {
        length = GetSystemDirectoryA(path, sizeof path);
        return length > 0 && length < sizeof path && AppendText(path, "\\drivers\\etc\\hosts");
    }
    if (platform == PLATFORM_WIN9X) {
        length = GetWindowsDirectoryA(path, sizeof path);
        return length > 0 && length < sizeof path && AppendText(path, "\\hosts");
    }
    return false;
}

// Reads the value's data and its environment expansion, both lower case. False when the data cannot be read
// or the expansion fails. An expansion longer than its buffer is left empty: data that fits its own buffer
// but expands past 260 characters may still begin with the infected path, and is judged by itself.
bool ReadCommand(HKEY root, const char* subkey, const char* name, char (&data)[kValueDataSize + 1],
                 char (&expanded)[kExpandedSize])
{
    if (!ReadRegistryValue(root, subkey, name, data, sizeof data)) return false;
    LowerAscii(data);
    DWORD length = ExpandEnvironmentStringsA(data, expanded, sizeof expanded);
    if (length == 0) return false;
    if (length > sizeof expanded) expanded[0] = '\0';
    LowerAscii(expanded);
    return true;
}

// Removes one value that starts the infected file; true when it was deleted.
bool RemoveStartupValue(HKEY root, const char* subkey, const char* name, RunValueVerdict verdict)
{
    // A full-path match is remembered even when the deletion fails, so later detections try it again.
    if (verdict == RUN_VALUE_FULL_PATH) CopyText(Scan.startupValueName, name);
    if (!DeleteRegistryValue(root, subkey, name)) return false;
    if (verdict == RUN_VALUE_BARE_NAME) CopyText(Scan.startupValueName, name);
    ReportRegistryRemoval("W32/StartPage.Trojan");
    return true;
}

// Deletes `valueName` under `subkey` when its data contains `marker`. False only when a deletion failed.
bool DeleteMarkedValue(HKEY key, const char* valueName, const char* marker)
{
    char data[kUninstallDataSize];
    if (!ReadValueText(key, valueName, data, sizeof data)) return false;
    if (!std::strstr(data, marker)) return true;
    return RegDeleteValueA(key, valueName) == ERROR_SUCCESS;
}
}  // namespace

int DeleteRegistryValue(HKEY root, const char* subkey, const char* valueName)
{
    ScopedKey key;
    if (!key.Open(root, subkey, KEY_ALL_ACCESS)) return 0;
    bool deleted = RegDeleteValueA(key.Get(), valueName) == ERROR_SUCCESS;
    return key.Close() == ERROR_SUCCESS && deleted ? 1 : 0;
}

void RemoveRunValuesForFile(HKEY root, const char* subkey)
{
    ScopedKey key;
    DWORD count = 0;
    if (!key.Open(root, subkey, KEY_READ) ||
        RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return;
    // A lower-case copy: the file check still names the file by its own spelling.
    char infected[sizeof Scan.currentFile];
    if (!CopyText(infected, Scan.currentFile) || !std::strchr(infected, '\\')) return;
    LowerAscii(infected);
    std::unique_ptr<char[]> name(new (std::nothrow) char[kValueNameSize]);
    if (!name) return;

    DWORD removed = 0;
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameSize = kValueNameSize;
        name[0] = '\0';
        // Every deletion moves the later values down by one index.
        if (RegEnumValueA(key.Get(), i - removed, name.get(), &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            continue;
        char data[kValueDataSize + 1];
        char expanded[kExpandedSize];
        if (!ReadCommand(root, subkey, name.get(), data, expanded)) continue;
        RunValueVerdict verdict = JudgeRunValue(infected, data, expanded);
        if (verdict != RUN_VALUE_KEEP && RemoveStartupValue(root, subkey, name.get(), verdict)) ++removed;
    }
}

int CleanStartupEntries(const char* detectionName, HostsFileCheck checkHostsFile)
{
    char hosts[kTextBufferSize];
    if (HostsFilePath(hosts)) checkHostsFile("W32/StartPage.Trojan ", hosts);

    if (Scan.startupValueName[0] != '\0') {
        for (const char* subkey : {kRunKey, kRunServicesKey, kWormUninstallKey})
            if (DeleteRegistryValue(HKEY_LOCAL_MACHINE, subkey, Scan.startupValueName))
                ReportRegistryRemoval(detectionName);
    }
    if (Scan.currentFile[0] != '\0') {
        RemoveRunValuesForFile(HKEY_LOCAL_MACHINE, kRunKey);
        RemoveRunValuesForFile(HKEY_LOCAL_MACHINE, kRunServicesKey);
    }
    return 1;
}

int CleanUninstallEntry()
{
    ScopedKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kWormUninstallKeyUpper, KEY_ALL_ACCESS)) return 0;
    if (!DeleteMarkedValue(key.Get(), "UninstallString", "uninstall.exe")) return 0;
    if (key.Close() != ERROR_SUCCESS) return 0;
    if (!key.Open(HKEY_LOCAL_MACHINE, kRunKeyUpper, KEY_ALL_ACCESS)) return 0;
    if (!DeleteMarkedValue(key.Get(), "SMrhcjg7j0e38v", "rhcjg7j0e38v.exe")) return 0;
    return key.Close() == ERROR_SUCCESS ? 1 : 0;
}
