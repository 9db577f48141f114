// The performance-data layout the process reader uses, against the system header: a wrong offset would make
// the reader take a process id or a name from the wrong bytes on a real NT machine.
#include <windows.h>
#include <winperf.h>

#include "system/perf_data_layout.h"

namespace perf_layout {
static_assert(offsetof(PERF_DATA_BLOCK, HeaderLength) == kBlockHeaderLength, "PERF_DATA_BLOCK");
static_assert(offsetof(PERF_OBJECT_TYPE, DefinitionLength) == kObjectDefinitionLength &&
                  offsetof(PERF_OBJECT_TYPE, HeaderLength) == kObjectHeaderLength &&
                  offsetof(PERF_OBJECT_TYPE, NumCounters) == kObjectNumCounters &&
                  offsetof(PERF_OBJECT_TYPE, NumInstances) == kObjectNumInstances &&
                  sizeof(PERF_OBJECT_TYPE) == kObjectSize,
              "PERF_OBJECT_TYPE");
static_assert(offsetof(PERF_COUNTER_DEFINITION, CounterNameTitleIndex) == kCounterNameIndex &&
                  offsetof(PERF_COUNTER_DEFINITION, CounterOffset) == kCounterOffset &&
                  sizeof(PERF_COUNTER_DEFINITION) == kCounterDefinitionSize,
              "PERF_COUNTER_DEFINITION");
static_assert(offsetof(PERF_INSTANCE_DEFINITION, ByteLength) == kInstanceByteLength &&
                  offsetof(PERF_INSTANCE_DEFINITION, NameOffset) == kInstanceNameOffset &&
                  offsetof(PERF_INSTANCE_DEFINITION, NameLength) == kInstanceNameLength &&
                  sizeof(PERF_INSTANCE_DEFINITION) == kInstanceSize,
              "PERF_INSTANCE_DEFINITION");
}  // namespace perf_layout
