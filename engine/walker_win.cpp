#include "engine/walker.h"

#include <windows.h>

#include <cstring>

#include "base/platform_handles.h"
#include "base/product.h"
#include "base/progress_channel.h"
#include "base/scan_state.h"
#include "base/text_buffer.h"
#include "engine/entered_folders.h"
#include "engine/file_check.h"
#include "engine/folder_identity_win.h"
#include "engine/listed_length.h"
#include "engine/walk_paths.h"
#include "ui/skin_message_box.h"

const FileCheckEntry FileCheckList[] = {
    {"W32/StartPage.Trojan ", CheckFile},
    {nullptr, nullptr},
};

namespace {

constexpr int16_t kDisplayLength = 60;

bool IsDirectory(const WIN32_FIND_DATAA& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsDotEntry(const char* name)
{
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// True when the scan must unwind: one message is pumped first so a request can arrive.
bool PumpAndTestTerminate()
{
    PumpPendingMessage();
    return Scan.terminateRequested != 0;
}

void ShowOnStatusLine(const char* path)
{
    ShortenPathForDisplay(path, Scan.statusText, sizeof Scan.statusText, kDisplayLength);
    SendStatus();
}

void RunFileChecks(const char* path, const WIN32_FIND_DATAA& data)
{
    if (!Scan.memoryScanMode) ++Scan.filesScanned;
    Scan.listedLength = TrustedListedLength(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow);
    for (const FileCheckEntry* entry = FileCheckList; entry->label; ++entry)
        if (entry->check(entry->label, path)) break;
}

void NoteProgramFilesFolder(const char* pattern)
{
    CopyText(Scan.programFilesPattern, pattern);
    char folder[kTextBufferSize];
    if (!ProgramFilesFolder(pattern, folder, sizeof folder)) return;
    CopyText(Scan.programFilesPattern, folder);
    if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) return;
    Scan.programFilesPending = 1;
    AppendText(Scan.programFilesPattern, "\\*.*");
}

enum class PassResult { Done, Terminated, Malformed };

// Every entry, files checked; directories (and "." and "..") are only shown.
PassResult WalkFiles(const char* pattern)
{
    WIN32_FIND_DATAA data;
    FindHandle search(pattern, data);
    if (!search.Found()) return PassResult::Done;
    do {
        if (PumpAndTestTerminate()) return PassResult::Terminated;
        char path[kTextBufferSize];
        bool fits = true;
        if (Scan.memoryScanMode) {
            fits = CopyText(path, pattern);
        } else if (!std::strrchr(pattern, '.')) {
            return PassResult::Malformed;
        } else {
            fits = JoinAtLastDot(pattern, data.cFileName, "", path, sizeof path);
        }
        // A path that does not fit the platform's limit cannot be named here: it is passed over.
        if (fits) {
            ShowOnStatusLine(path);
            if (!IsDirectory(data)) RunFileChecks(path, data);
        }
        if (PumpAndTestTerminate()) return PassResult::Terminated;
    } while (search.Next(data));
    return PassResult::Done;
}

PassResult WalkSubdirectories(const char* pattern, EnteredFolders& entered)
{
    char directories[kTextBufferSize];
    if (!DirectoryPattern(pattern, directories, sizeof directories)) return PassResult::Done;
    WIN32_FIND_DATAA data;
    FindHandle search(directories, data);
    if (!search.Found()) return PassResult::Done;
    do {
        if (PumpAndTestTerminate()) return PassResult::Terminated;
        if (IsDirectory(data) && !IsDotEntry(data.cFileName)) {
            if (!std::strrchr(pattern, '.')) return PassResult::Malformed;
            char subPattern[kTextBufferSize];
            if (JoinAtLastDot(pattern, data.cFileName, "\\*.*", subPattern, sizeof subPattern)) {
                if (IsInsideProgramFiles(subPattern)) Scan.programFilesVisited = 1;
                if (WalkDirectory(subPattern, entered) == -1) return PassResult::Malformed;
            }
        }
    } while (search.Next(data));
    return PassResult::Done;
}

int ResultOf(PassResult result)
{
    return result == PassResult::Malformed ? -1 : 0;
}

// False when this scan has entered the pattern's folder before, under this path or through a link. A folder
// whose identity cannot be read is entered.
bool EntersFirstTime(const char* pattern, EnteredFolders& entered)
{
    char folder[kTextBufferSize];
    FolderIdentity identity;
    if (!JoinAtLastDot(pattern, "", "", folder, sizeof folder) || !ReadFolderIdentity(folder, &identity)) return true;
    return entered.Enter(identity);
}

}  // namespace

int WalkDirectory(const char* pattern)
{
    EnteredFolders entered;
    return WalkDirectory(pattern, entered);
}

int WalkDirectory(const char* pattern, EnteredFolders& entered)
{
    Scan.lastFileInfected = 0;
    if (std::strlen(pattern) <= 6) NoteProgramFilesFolder(pattern);
    if (!Scan.memoryScanMode && !EntersFirstTime(pattern, entered)) return Scan.filesScanned;

    PassResult files = WalkFiles(pattern);
    if (files != PassResult::Done) return ResultOf(files);
    // A memory-scan walk is given one image's path: that file alone is examined. Its subdirectory pattern
    // (the path cut at its last '.') would also list folders beside the image, such as "a.d" beside "a.exe".
    if (Scan.memoryScanMode) return Scan.filesScanned;
    PassResult directories = WalkSubdirectories(pattern, entered);
    if (directories != PassResult::Done) return ResultOf(directories);
    return Scan.filesScanned;
}

void PumpPendingMessage()
{
    constexpr LPARAM kKeyWasDown = 1 << 30;  // keystroke flag: the key was already down (the keyboard's repeat)
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
    // Only a fresh press of Escape asks. Its release, its character and its repeats are dropped: a user who
    // answers the box with Escape releases the key after the box has gone, and that must not ask again.
    // Other messages that merely carry 27 in wParam (a timer or command id, mouse flags) are dispatched.
    const bool escapeKeystroke =
        (message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR) &&
        message.wParam == VK_ESCAPE;
    if (escapeKeystroke) {
        const bool freshPress = message.message == WM_KEYDOWN && (message.lParam & kKeyWasDown) == 0;
        if (freshPress && SkinMessageBox(kTerminateQuestion, ProductCaption, MB_YESNO | MB_ICONQUESTION) != IDNO)
            Scan.terminateRequested = 1;
        return;
    }
    if (message.message == WM_QUIT || message.message == WM_DESTROY) {
        Scan.terminateRequested = 1;
        return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
}
