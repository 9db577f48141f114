// The matching rule written as a plain pass over the table, record by record: the reference the size index
// is checked against in tests and fuzzing.
#pragma once

#include <cstdint>

#include "engine/detection/pe_reader.h"
#include "engine/detection/signature_record.h"

const SignatureRecord* MatchByTableScan(const SignatureRecord* table, RandomAccessFile& file, int32_t length,
                                        const PeHeaders& headers);
