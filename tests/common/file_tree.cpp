#include "tests/common/file_tree.h"

#include <windows.h>

#include "base/platform_handles.h"

namespace {

// Calls `visit(path, isFolder)` for every entry below `folder` (descending when `deep`), children before their
// folder.
template <typename Visit>
void ForEachBelow(const std::string& folder, bool deep, Visit visit)
{
    WIN32_FIND_DATAA entry;
    FindHandle search((folder + "\\*.*").c_str(), entry);
    if (!search.Found()) return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && deep) ForEachBelow(path, deep, visit);
        visit(path, isFolder);
    } while (search.Next(entry));
}

std::string WithoutTrailingBackslash(const std::string& folder)
{
    return !folder.empty() && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
}

int CountFilesOf(const std::string& folder, bool deep)
{
    int count = 0;
    ForEachBelow(WithoutTrailingBackslash(folder), deep,
                 [&](const std::string&, bool isFolder) { count += isFolder ? 0 : 1; });
    return count;
}

}  // namespace

void RemoveTree(const std::string& folder)
{
    ForEachBelow(folder, true, [](const std::string& path, bool isFolder) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (isFolder)
            RemoveDirectoryA(path.c_str());
        else
            DeleteFileA(path.c_str());
    });
    RemoveDirectoryA(folder.c_str());
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int CountFiles(const std::string& folder)
{
    return CountFilesOf(folder, true);
}

int FilesIn(const std::string& folder)
{
    return CountFilesOf(folder, false);
}
