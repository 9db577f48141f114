// Reads a folder's identity (engine/entered_folders.h) from the file system.
#pragma once

#include "engine/entered_folders.h"

// `folder` ends with a backslash ("C:\", "C:\dir\"). False where no identity can be had: Windows 9x opens no
// folder, and a folder closed to the scan refuses the open; such a folder is walked without the set.
bool ReadFolderIdentity(const char* folder, FolderIdentity* identity);
