// The memory scan: before the drives are walked, the image file of every running process goes through the
// walker and the file check in memory-scan mode; infected processes are terminated (on NT 4 and NT 5 one that
// resists is treated as a service) and their images removed by a second, removal walk.
#pragma once

// What the memory scan asks of the layers above it: the scan's walker, given one image file's full path (in
// memory-scan mode; it returns the walk's result), and the removal of the registry keys of a service that runs
// the image.
struct MemoryScanSteps {
    int (*walkImage)(const char* imagePath);
    int (*removeServiceKeys)(const char* serviceName, const char* imagePath);
};

// Runs once per scan, before any drive. Ends the program with status 0, after a notice that offers a restart,
// when an infected process stayed in memory and its service entries were removed.
void ScanMemory(const MemoryScanSteps& steps);

// The Windows 9x variant (toolhelp) and the NT variant (psapi.dll). Each returns the result of the last
// process examined: the last walk's result, or 0 when nothing could be enumerated.
int ScanMemoryToolhelp(const MemoryScanSteps& steps);
int ScanMemoryPsapi(const MemoryScanSteps& steps);
