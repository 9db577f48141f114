#include "engine/scan_driver.h"

#include <windows.h>

#include "base/progress_channel.h"
#include "base/scan_state.h"
#include "engine/entered_folders.h"
#include "engine/walker.h"
#include "repair/service_keys.h"
#include "system/memory/memory_scan.h"
#include "system/restart.h"
#include "ui/skin_message_box.h"

const MemoryScanSteps ScanMemorySteps = {WalkDirectory, RemoveServiceKeys};

namespace {

void WalkProgramFilesIfMissed(EnteredFolders& entered)
{
    if (Scan.programFilesPending == 1 && Scan.programFilesVisited == 0) {
        WalkDirectory(Scan.programFilesPattern, entered);
        Scan.programFilesPending = 0;
    }
}

// Every fixed drive from C: to Z:; floppies A: and B: are never examined. After a termination each further
// walk returns at once, so the loop itself need not test the flag. The walks share one record of the folders
// entered, so that no folder is walked twice, whatever leads to it: a link to another drive's folder, or the
// drive walk having entered Program Files under another spelling.
void WalkFixedDrives()
{
    EnteredFolders entered;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const char root[] = {letter, ':', '\\', '\0'};
        if (GetDriveTypeA(root) != DRIVE_FIXED) continue;
        const char pattern[] = {letter, ':', '\\', '*', '.', '*', '\0'};
        WalkDirectory(pattern, entered);
        WalkProgramFilesIfMissed(entered);
    }
}

void AppendStatistics()
{
    if (Scan.filesInfected > 0) AppendResult(" ");
    AppendResult("Scanning statistics");
    AppendResult("------------------------------");
    AppendResultF("Total files scanned\t\t:  %d", Scan.filesScanned);
    AppendResultF("Total files infected\t\t:  %d", Scan.filesInfected);
    AppendResultF("Total files removed\t\t:  %d", Scan.filesRemoved);
}

}  // namespace

int RunScan()
{
    if (Scan.registryCleaned) AppendResult("Registry entries made by the worm has been removed successfully");
    ScanMemory(ScanMemorySteps);
    WalkFixedDrives();

    KeepResults = 1;
    AppendStatistics();
    SetStatus(Scan.terminateRequested ? "Scanning terminated" : "Scanning completed");

    if (Scan.restartNeeded) {
        const char question[] =
            "The system has to be restarted to remove the virus completely from your system. "
            "\n\n Restart now?";
        if (SkinMessageBox(question, ProductCaption, MB_YESNO | MB_ICONQUESTION) == IDYES) RestartComputer();
    }
    return 1;
}
