#include "repair/delete_on_reboot.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/platform_handles.h"
#include "base/short_path.h"
#include "base/text_buffer.h"
#include "repair/file_swap.h"
#include "repair/wininit_rename.h"
#include "system/platform.h"

namespace {
constexpr int kWindowsDirectorySize = 350;
constexpr DWORD kMaxIniSize = 4u << 20;  // wininit.ini is a few lines; anything larger is left alone

struct IniPaths {
    char ini[kWindowsDirectorySize + 16];
    char fresh[kWindowsDirectorySize + 16];
    char previous[kWindowsDirectorySize + 16];
    char carriedOut[kWindowsDirectorySize + 16];
};

bool MakeIniPaths(IniPaths* paths)
{
    char windows[kWindowsDirectorySize];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return false;
    return FormatText(paths->ini, sizeof paths->ini, "%s\\wininit.ini", windows) &&
           FormatText(paths->fresh, sizeof paths->fresh, "%s\\wininit.vxn", windows) &&
           FormatText(paths->previous, sizeof paths->previous, "%s\\wininit.vxo", windows) &&
           FormatText(paths->carriedOut, sizeof paths->carriedOut, "%s\\wininit.bak", windows);
}

uint64_t LastWritten(const WIN32_FIND_DATAA& data)
{
    return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// Wininit carries out wininit.ini at the next start and keeps it as wininit.bak. An aside copy written no later
// than that file was carried out inside it (the power failed after its successor took its place, before the
// copy was removed): put back, its renames would run a second time.
bool CarriedOutSince(const IniPaths& paths)
{
    WIN32_FIND_DATAA aside;
    WIN32_FIND_DATAA carriedOut;
    FindHandle asideFile(paths.previous, aside);
    FindHandle carriedOutFile(paths.carriedOut, carriedOut);
    return asideFile.Found() && carriedOutFile.Found() && LastWritten(aside) <= LastWritten(carriedOut);
}

enum ReadOutcome { READ_OK, READ_MISSING, READ_FAILED };

ReadOutcome ReadWholeFile(const char* path, std::string* content)
{
    ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid()) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? READ_MISSING : READ_FAILED;
    }
    DWORD size = GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxIniSize) return READ_FAILED;
    content->assign(size, '\0');
    DWORD read = 0;
    if (size > 0 && (!ReadFile(file.Get(), &(*content)[0], size, &read, nullptr) || read != size)) return READ_FAILED;
    return READ_OK;
}

// The swap's file operations, by the platform's own calls.
class PlatformFiles : public SwapFileSystem {
public:
    bool WriteComplete(const char* path, const std::string& content) override
    {
        ScopedHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid()) return false;
        DWORD written = 0;
        bool complete = WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                        written == content.size() && FlushFileBuffers(file.Get());
        file.Close();
        if (!complete) DeleteFileA(path);
        return complete;
    }
    bool Move(const char* from, const char* to) override { return MoveFileA(from, to) != 0; }
    void Remove(const char* path) override { DeleteFileA(path); }
};
}  // namespace

int AddWininitRename(const char* entry, const char* target)
{
    IniPaths paths;
    if (!MakeIniPaths(&paths)) return 0;
    PlatformFiles files;
    const SwapPaths swap = {paths.ini, paths.fresh, paths.previous};
    // Pending renames of other programs may be in a copy that an earlier run left aside.
    if (!CarriedOutSince(paths)) RestoreMovedAside(files, swap);
    DWORD attributes = GetFileAttributesA(paths.ini);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return 0;
    std::string content;
    ReadOutcome outcome = ReadWholeFile(paths.ini, &content);
    if (outcome == READ_FAILED) return 0;
    bool iniExists = outcome == READ_OK;

    if (!SwapInContent(files, swap, iniExists, AddWininitEntry(content, entry, target))) return 0;
    // The new file takes over the old one's hidden, system and archive marks.
    if (iniExists && attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(paths.ini, attributes);
    return 1;
}

int ScheduleDeleteOnReboot(const char* path)
{
    switch (GetPlatformCode()) {
    case PLATFORM_WIN9X: {
        // Wininit runs before long names are available: the entry needs the 8.3 form. Without it, nothing
        // is written rather than an entry that could name another file.
        char shortPath[MAX_PATH];
        if (!ShortPathOf(path, shortPath, sizeof shortPath)) return 0;
        return AddWininitRename("NUL", shortPath) ? 1 : 0;
    }
    case PLATFORM_NT:
        return MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? 1 : 0;
    default:
        return 0;
    }
}
