// Field offsets and sizes of the performance-data structures that HKEY_PERFORMANCE_DATA returns (winperf.h),
// for a reader that builds without the system headers; perf_data_layout_win.cpp holds them to those headers.
#pragma once

#include <cstddef>

namespace perf_layout {
constexpr size_t kBlockHeaderLength = 24;      // PERF_DATA_BLOCK.HeaderLength
constexpr size_t kObjectDefinitionLength = 4;  // PERF_OBJECT_TYPE
constexpr size_t kObjectHeaderLength = 8;
constexpr size_t kObjectNumCounters = 32;
constexpr size_t kObjectNumInstances = 40;
constexpr size_t kObjectSize = 64;
constexpr size_t kCounterNameIndex = 4;  // PERF_COUNTER_DEFINITION
constexpr size_t kCounterOffset = 36;
constexpr size_t kCounterDefinitionSize = 40;
constexpr size_t kInstanceByteLength = 0;  // PERF_INSTANCE_DEFINITION
constexpr size_t kInstanceNameOffset = 16;
constexpr size_t kInstanceNameLength = 20;
constexpr size_t kInstanceSize = 24;
}  // namespace perf_layout
