// Making a row from a known sample: its length, and the 20 bytes the matcher reads at each of two offsets from
// its entry point.
#pragma once

#include <cstdint>
#include <string>

#include "engine/detection/signature_record.h"
#include "tools/sigtool/sample_file.h"

struct RowRequest {
    std::string name;
    int32_t firstOffset;
    int32_t secondOffset;
};

// The row for the sample, with an exact size test, checked by the matcher against the sample itself. False,
// with the reason, for a name the record cannot hold, a sample the matcher does not examine, a string whose 20
// bytes do not lie inside the file, or a row that would not match its own sample.
bool MakeRow(SampleFile& sample, const RowRequest& request, SignatureRecord& row, std::string& error);
