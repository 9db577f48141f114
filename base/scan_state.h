// The state one scan shares between the driver, the walker, the file check and the repairs. Zero at process
// start and never reset: the window allows one scan per run.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/product.h"

constexpr int ACTION_DELETE = 100;
constexpr int kResultLineSize = 500;
constexpr int kStartupValueNameSize = 128;

struct ScanState {
    HWND mainWindow;
    char scanPath[kTextBufferSize];  // "!:" selects every fixed drive C: to Z:
    int32_t action;
    uint8_t terminateRequested;
    int32_t restartNeeded;
    int32_t filesScanned;
    int32_t filesInfected;
    int32_t filesRemoved;
    char detectionName[kTextBufferSize];
    char statusText[kTextBufferSize];
    char resultLine[kResultLineSize];
    char currentFile[kTextBufferSize + 1];
    int32_t currentFileLength;
    uint8_t memoryScanMode;
    int32_t memoryRemovalAction;
    uint8_t lastFileInfected;
    int32_t memoryRestartNeeded;
    char programFilesPattern[kTextBufferSize];
    int32_t programFilesPending;
    int32_t programFilesVisited;
    int32_t registryCleaned;
    char startupValueName[kStartupValueNameSize];
    // Set by the walker before it hands a file to the checks: the length the directory listing gave, or -1
    // when only the open file can tell (a reparse point). The file check passes over, unopened, a file whose
    // length no signature accepts.
    int64_t listedLength;
};

extern ScanState Scan;

extern int32_t KeepResults;  // set before the statistics block; the results list is no longer cleared
extern int32_t ScanRunning;  // 1 from SCAN until the scan handler has finished
