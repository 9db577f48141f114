// Removing the Trojan's start-up entries from HKEY_LOCAL_MACHINE: Run and RunServices values that start the
// infected file, values named like one removed before, the worm's uninstall command. Also hands the hosts file
// to the text-pattern engine. All registry failures are silent.
#pragma once

#include <windows.h>

// The check the hosts file is handed to: the text-pattern engine's, which lies in the scan above this layer.
using HostsFileCheck = int (*)(const char* label, const char* path);

// Called once per signature hit while Scan.currentFile holds the infected file's path. Always 1.
int CleanStartupEntries(const char* detectionName, HostsFileCheck checkHostsFile);
// Removes the worm's "UninstallString" and its "SMrhcjg7j0e38v" Run value when they carry the worm's
// commands. 1 when it went through to the end, 0 when it stopped early.
int CleanUninstallEntry();

// Deletes every value under root\subkey whose command starts Scan.currentFile (full path, or bare name when
// the file lies in a system folder); reports each removal and remembers the last name in
// Scan.startupValueName.
void RemoveRunValuesForFile(HKEY root, const char* subkey);
// 1 only when the value was deleted and the key closed cleanly.
int DeleteRegistryValue(HKEY root, const char* subkey, const char* valueName);
