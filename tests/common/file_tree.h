// Files and folders of the test machine, from inside the sandbox prefix: what the Windows tests and the GUI
// driver both set up, count and clean away.
#pragma once

#include <string>

// Deletes a folder with everything below it, read-only and hidden files included.
void RemoveTree(const std::string& folder);
bool FileExists(const std::string& path);
// Files (not folders) below `folder`, hidden and system ones included: what a scan of it counts. A trailing
// backslash is allowed ("C:\").
int CountFiles(const std::string& folder);
// Files directly in `folder`, without descending.
int FilesIn(const std::string& folder);
