// A sample whose whole stretch from the first byte string to the last lies in one section, so that every
// distance from the entry point is the same in the loaded image and in the file. Only such a sample can be
// described to a scanner that measures entry-point offsets in file bytes (ClamAV's EP+n) the same way our
// table measures them in image bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/detection/signature_record.h"

// False, with the reason in `error`, when the stretch and the headers do not fit in the record's length.
bool BuildFlatSample(const SignatureRecord& record, std::vector<uint8_t>& image, std::string* error);
