// Stopping a Win32 service by its key name, for the memory scan's treatment of a process that resists
// termination on NT 4 and NT 5.
#pragma once

#include <cstdint>

constexpr uint8_t SERVICE_MODE_PROBE = 0;  // only find out whether the service can be opened
constexpr uint8_t SERVICE_MODE_STOP = 1;

// The longest the stop-pending state is waited out, in one-second polls. A service that never leaves it
// would otherwise hold the scan, which pumps no messages meanwhile, for good.
constexpr unsigned kStopPendingLimitSeconds = 30;

// Stop mode: 1 when the service reached the stopped state, else 0. Probe mode: 1 when the service could be
// opened. Every failure gives 0; nothing is shown.
int StopServiceByName(const char* name, uint8_t mode);
