#include "engine/text_pattern_file.h"

#include <windows.h>

#include "base/progress_channel.h"
#include "base/scan_state.h"
#include "base/text_buffer.h"
#include "engine/descriptor_file_win.h"
#include "engine/detection/text_pattern.h"
#include "engine/removed_file.h"

namespace {

void RemoveMatchedFile(const char* path, const char* name)
{
    // No attribute reset, termination or scheduling: a text file is not locked by a running worm.
    if (DeleteFileA(path))
        NoteRemovedFile(path, name);
    else
        AppendResultF("%s     %s Remove failed", path, name);
}
}  // namespace

int CheckTextPatternFile(const char* /*label*/, const char* path)
{
    UnscrambleTextPatternsOnce();
    DescriptorFile file(path);
    if (!file.IsOpen()) return 0;
    const TextPatternRecord* record = MatchTextPatterns(file, TextPatternTable, kTextPatternCount);
    file.Close();
    if (!record) return 0;
    ++Scan.filesInfected;
    CopyText(Scan.detectionName, record->name);
    CopyText(Scan.statusText, path);
    if (Scan.action == ACTION_DELETE) RemoveMatchedFile(path, record->name);
    return 1;
}
