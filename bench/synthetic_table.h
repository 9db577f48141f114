// A table of the shipped table's full size (972 records) for measuring what the number of rows costs per file.
// It exists only inside the benchmark and is never shipped: the shipped rows keep their own positions (1, 501
// and 669) so that both tables find the same samples, and every other row is random within the ranges the
// shipped table's rows span. Fixed seed: the same table on every run.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/detection/signature_record.h"

constexpr int kSyntheticRowCount = 972;

// The rows followed by the terminating empty-name record.
std::vector<SignatureRecord> BuildSyntheticTable(const SignatureRecord* shipped, uint64_t seed);
