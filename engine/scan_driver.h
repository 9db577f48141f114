// One complete scan: memory, every fixed drive C: to Z:, the statistics block, the final status and the
// restart offer. Runs synchronously inside the main window's timer handler; always returns 1.
#pragma once

#include "system/memory/memory_scan.h"

int RunScan();

// The memory scan's steps as a scan takes them: the walker for each image, the service-key removal.
extern const MemoryScanSteps ScanMemorySteps;
