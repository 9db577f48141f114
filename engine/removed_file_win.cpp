#include "engine/removed_file.h"

#include "base/progress_channel.h"
#include "base/scan_state.h"
#include "repair/startup_entries.h"

void NoteRemovedFile(const char* path, const char* name)
{
    ++Scan.filesRemoved;
    CleanUninstallEntry();
    AppendResultF("%s     %s removed", path, name);
}
