#include "engine/file_check.h"

#include <windows.h>

#include <cstring>

#include "base/progress_channel.h"
#include "base/scan_state.h"
#include "base/text_buffer.h"
#include "engine/descriptor_file_win.h"
#include "engine/detection/signature_match.h"
#include "engine/removed_file.h"
#include "engine/text_pattern_file.h"
#include "repair/delete_on_reboot.h"
#include "repair/startup_entries.h"
#include "system/process_kill.h"

namespace {

constexpr DWORD kMemoryRemovalPauseMs = 1000;

void DeleteInfectedFile(const char* path, const char* name)
{
    if (!SetFileAttributesA(path, FILE_ATTRIBUTE_ARCHIVE)) {
        // Deliberately the status text and the detection name, not path and name: the same in the ordinary
        // pass, but in the memory removal pass the walker's shortened display and the name the detection walk
        // found, as this line has always shown them.
        AppendResultF("%s     %s Unable to remove", Scan.statusText, Scan.detectionName);
        return;
    }
    if (DeleteFileA(path) || (KillProcessesByImage(path) && DeleteFileA(path))) {
        NoteRemovedFile(path, name);
        return;
    }
    AppendResultF("%s     %s Unable to remove", path, name);
    if (ScheduleDeleteOnReboot(path)) Scan.restartNeeded = 1;
}

void PerformAction(const char* path, const char* name)
{
    if (Scan.action == ACTION_DELETE) DeleteInfectedFile(path, name);
}

void ForgetCurrentFile()
{
    std::memset(Scan.currentFile, 0, sizeof Scan.currentFile);
}

// The signature table's verdict on one file, or nullptr. The file is closed on return.
const SignatureRecord* MatchFile(const char* path)
{
    const SignatureIndex& index = ShippedSignatureIndex();
    // The listing already told the length: a file no record accepts is not even opened.
    int64_t listed = Scan.listedLength;
    if (listed >= 0 && !index.AcceptsLength(listed)) return nullptr;

    DescriptorFile file(path);
    if (!file.IsOpen()) return nullptr;
    std::memset(Scan.currentFile, 0, sizeof Scan.currentFile);
    CopyText(Scan.currentFile, sizeof Scan.currentFile, path);
    uint32_t length = 0;
    if (!file.Length(&length)) return nullptr;
    Scan.currentFileLength = static_cast<int32_t>(length);

    PeHeaders headers;
    if (!index.AcceptsLength(length) || !ReadPeHeaders(file, headers)) return nullptr;
    const SignatureRecord* record = index.Match(file, Scan.currentFileLength, headers);
    if (!record) ForgetCurrentFile();
    return record;
}

}  // namespace

int CheckFile(const char* label, const char* path)
{
    if (Scan.memoryRemovalAction != 0 && Scan.mainWindow) {
        Scan.action = Scan.memoryRemovalAction;
        AppendResult("System Memory    W32/StartPage.Trojan  removed");
        Sleep(kMemoryRemovalPauseMs);
        PerformAction(path, label);
        return 0;
    }
    if (Scan.filesInfected == 0) std::memset(Scan.startupValueName, 0, sizeof Scan.startupValueName);

    const SignatureRecord* record = MatchFile(path);
    if (!record) return 0;

    ++Scan.filesInfected;
    CleanStartupEntries(record->name, CheckTextPatternFile);
    CopyText(Scan.detectionName, record->name);
    CopyText(Scan.statusText, path);
    if (Scan.memoryScanMode) {
        Scan.lastFileInfected = 1;
        return 1;
    }
    PerformAction(path, record->name);
    ForgetCurrentFile();
    return 1;
}
