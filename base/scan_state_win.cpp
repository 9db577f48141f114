#include "base/scan_state.h"

ScanState Scan;
int32_t KeepResults;
int32_t ScanRunning;
