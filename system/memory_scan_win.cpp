#include "system/memory_scan.h"

#include <windows.h>

#include <io.h>

#include <cstdint>
#include <cstdlib>

#include "app/product.h"
#include "engine/scan_state.h"
#include "engine/walker.h"
#include "repair/service_keys.h"
#include "system/memory_scan_road.h"
#include "system/platform.h"
#include "system/platform_handles.h"
#include "system/process_list.h"
#include "system/restart.h"
#include "system/restart_privilege.h"
#include "system/service_stop.h"
#include "ui/skin_message_box.h"

namespace {

constexpr int kReadPermission = 4;
constexpr DWORD kTerminateAndQuery = PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION;
constexpr unsigned kRestartNoticeStyle = MB_OKCANCEL | MB_ICONINFORMATION;  // 0x41

const char kRestartNotice[] = "W32/StartPage.Trojan  found in memory! registry entries created by the worm are "
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
int WalkImage(const char* path, bool* infected)
{
    *infected = false;
    if (_access(path, kReadPermission) != 0) return 0;
    int result = WalkDirectory(path);
    *infected = Scan.lastFileInfected != 0;
    return result;
}

// The second walk, which the file check takes as the memory removal pass and so removes the image.
int RemovalWalk(const char* path)
{
    Scan.memoryRemovalAction = Scan.action;
    int result = WalkDirectory(path);
    Scan.memoryRemovalAction = 0;
    return result;
}

bool TerminateById(DWORD processId)
{
    ScopedHandle process(OpenProcess(kTerminateAndQuery, FALSE, processId));
    return process.IsValid() && TerminateProcess(process.Get(), 0);
}

// A resisting process on NT 4 or NT 5 is taken for the service of its image's name. Stopped: its keys go and
// the image is removed. Not stopped: its keys go all the same, and the program asks for a restart.
int TakeServiceRoad(const char* imagePath, int walkResult)
{
    char name[kTextBufferSize];
    if (!ServiceNameFromImagePath(imagePath, name)) return walkResult;
    if (StopServiceByName(name, SERVICE_MODE_STOP)) {
        RemoveServiceKeys(name);
        return RemovalWalk(imagePath);
    }
    RemoveServiceKeys(name);
    Scan.memoryRestartNeeded = 1;
    return walkResult;
}

// Returns the result of the last walk made for the process.
int ActOnInfectedProcess(const ProcessImageNode& node, bool terminated, int platform, int generation,
                         int walkResult)
{
    switch (ChooseInfectedProcessRoad(platform, generation, terminated)) {
    case ROAD_REMOVAL_WALK:
        return RemovalWalk(node.imagePath);
    case ROAD_SERVICE:
        return TakeServiceRoad(node.imagePath, walkResult);
    case ROAD_NONE:
        break;
    }
    return walkResult;
}

}  // namespace

int ScanMemoryToolhelp()
{
    ProcessImageList processes;
    if (!processes.CollectByToolhelp()) return 0;
    int result = 0;
    for (const ProcessImageNode* node = processes.First(); node; node = node->next) {
        bool infected = false;
        result = WalkImage(node->imagePath, &infected);
        if (!infected) continue;
        const bool terminated = TerminateById(node->processId);
        result = ActOnInfectedProcess(*node, terminated, PLATFORM_WIN9X, NT_GENERATION_NONE, result);
    }
    return result;
}

int ScanMemoryPsapi()
{
    ProcessImageList processes;
    if (!processes.CollectByPsapi(OpenForImageName)) return 0;
    const int generation = GetNtGeneration();
    // Deliberately 16 bits, the width this result has always had: a walk's count over 32,767 wraps. Only
    // whether it is non-zero ever matters to a caller.
    int16_t result = 0;
    for (const ProcessImageNode* node = processes.First(); node; node = node->next) {
        bool infected = false;
        result = static_cast<int16_t>(WalkImage(node->imagePath, &infected));
        if (!infected) continue;
        // A second attempt only when the first failed: once the process is gone its identifier may already
        // belong to another one.
        const bool terminated = TerminateById(node->processId) || TerminateById(node->processId);
        result = static_cast<int16_t>(ActOnInfectedProcess(*node, terminated, PLATFORM_NT, generation, result));
    }
    return result;
}

void ScanMemory()
{
    const int platform = GetPlatformCode();
    Scan.memoryScanMode = 1;
    if (platform == PLATFORM_WIN9X) ScanMemoryToolhelp();
    if (platform == PLATFORM_NT) {
        ScanMemoryPsapi();
        if (Scan.memoryRestartNeeded) {
            if (SkinMessageBox(kRestartNotice, ProductCaption, kRestartNoticeStyle) == IDOK) RestartComputer();
            std::exit(0);
        }
    }
    Scan.memoryScanMode = 0;
}
