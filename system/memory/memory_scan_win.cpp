#include "system/memory/memory_scan.h"

#include <windows.h>

#include <io.h>

#include <cstdint>
#include <cstdlib>

#include "base/platform_handles.h"
#include "base/product.h"
#include "base/scan_state.h"
#include "system/memory/memory_scan_road.h"
#include "system/platform.h"
#include "system/process_access.h"
#include "system/process_list.h"
#include "system/restart.h"
#include "system/restart_privilege.h"
#include "system/service_image.h"
#include "system/service_stop.h"
#include "ui/skin_message_box.h"

namespace {

constexpr int kReadPermission = 4;
constexpr unsigned kRestartNoticeStyle = MB_OKCANCEL | MB_ICONINFORMATION;  // 0x41

const char kRestartNotice[] =
    "W32/StartPage.Trojan  found in memory! registry entries created by the worm are "
    "removed. You must restart the computer and run this program to continue "
    "scanning.\n\nRestart the computer now?";

void EnableDebugPrivilege()
{
    ScopedHandle token(OpenOwnToken());
    if (!token.IsValid()) {
        MessageBoxA(nullptr, "false", "TEMP", MB_OK);
        return;
    }
    EnableTokenPrivilege(token.Get(), "SeDebugPrivilege");
}

// Services and other users' processes refuse a plain open; the debug privilege lets the program read them.
// Only a refused open counts: a successful one may leave an older error code behind.
HANDLE OpenForImageName(DWORD processId)
{
    HANDLE process = OpenForQuery(processId);
    if (process || GetLastError() != ERROR_ACCESS_DENIED) return process;
    EnableDebugPrivilege();
    return OpenForQuery(processId);
}

// The first walk of an image, in memory-scan mode: the file check only records a hit. An image the program
// may not read is not walked, and its process is left alone.
int WalkImage(const MemoryScanSteps& steps, const char* path, bool* infected)
{
    *infected = false;
    if (_access(path, kReadPermission) != 0) return 0;
    int result = steps.walkImage(path);
    *infected = Scan.lastFileInfected != 0;
    return result;
}

// The second walk, which the file check takes as the memory removal pass and so removes the image.
int RemovalWalk(const MemoryScanSteps& steps, const char* path)
{
    Scan.memoryRemovalAction = Scan.action;
    int result = steps.walkImage(path);
    Scan.memoryRemovalAction = 0;
    return result;
}

// A resisting process on NT 4 or NT 5 is taken for the service of its image's name, if that service runs the
// image: a real service that only shares the name (browser.exe, alerter.exe) is left alone. Stopped: its keys
// go and the image is removed. Otherwise the keys that run the image go all the same, and the program asks for
// a restart.
int TakeServiceRoad(const MemoryScanSteps& steps, const char* imagePath, int walkResult)
{
    char name[kTextBufferSize];
    if (!ServiceNameFromImagePath(imagePath, name)) return walkResult;
    if (ServiceConfiguresImage(name, imagePath) && StopServiceByName(name, SERVICE_MODE_STOP)) {
        steps.removeServiceKeys(name, imagePath);
        return RemovalWalk(steps, imagePath);
    }
    steps.removeServiceKeys(name, imagePath);
    Scan.memoryRestartNeeded = 1;
    return walkResult;
}

// Returns the result of the last walk made for the process.
int ActOnInfectedProcess(const MemoryScanSteps& steps, const ProcessImageNode& node, bool terminated, int platform,
                         int generation, int walkResult)
{
    switch (ChooseInfectedProcessRoad(platform, generation, terminated)) {
    case ROAD_REMOVAL_WALK:
        return RemovalWalk(steps, node.imagePath);
    case ROAD_SERVICE:
        return TakeServiceRoad(steps, node.imagePath, walkResult);
    case ROAD_NONE:
        break;
    }
    return walkResult;
}

}  // namespace

int ScanMemoryToolhelp(const MemoryScanSteps& steps)
{
    ProcessImageList processes;
    if (!processes.CollectByToolhelp()) return 0;
    int result = 0;
    for (const ProcessImageNode* node = processes.First(); node; node = node->next) {
        bool infected = false;
        result = WalkImage(steps, node->imagePath, &infected);
        if (!infected) continue;
        const bool terminated = TerminateIfImage(node->processId, node->imagePath);
        result = ActOnInfectedProcess(steps, *node, terminated, PLATFORM_WIN9X, NT_GENERATION_NONE, result);
    }
    return result;
}

int ScanMemoryPsapi(const MemoryScanSteps& steps)
{
    ProcessImageList processes;
    if (!processes.CollectByPsapi(OpenForImageName)) return 0;
    const int generation = GetNtGeneration();
    // Deliberately 16 bits, the width this result has always had: a walk's count over 32,767 wraps. Only
    // whether it is non-zero ever matters to a caller.
    int16_t result = 0;
    for (const ProcessImageNode* node = processes.First(); node; node = node->next) {
        bool infected = false;
        result = static_cast<int16_t>(WalkImage(steps, node->imagePath, &infected));
        if (!infected) continue;
        // A second attempt only when the first failed; each one confirms anew that the identifier still
        // names a process of the image.
        const bool terminated =
            TerminateIfImage(node->processId, node->imagePath) || TerminateIfImage(node->processId, node->imagePath);
        result = static_cast<int16_t>(ActOnInfectedProcess(steps, *node, terminated, PLATFORM_NT, generation, result));
    }
    return result;
}

void ScanMemory(const MemoryScanSteps& steps)
{
    const int platform = GetPlatformCode();
    Scan.memoryScanMode = 1;
    if (platform == PLATFORM_WIN9X) ScanMemoryToolhelp(steps);
    if (platform == PLATFORM_NT) {
        ScanMemoryPsapi(steps);
        if (Scan.memoryRestartNeeded) {
            if (SkinMessageBox(kRestartNotice, ProductCaption, kRestartNoticeStyle) == IDOK) RestartComputer();
            std::exit(0);
        }
    }
    Scan.memoryScanMode = 0;
}
