// Our signature rows written as ClamAV logical signatures (.ldb): a PE target, the exact file size, and the two
// byte strings at their offsets from the entry point, both required. ClamAV counts EP+n in file bytes where
// our table counts image bytes; the two agree for samples whose strings share the entry point's section.
#pragma once

#include <string>

#include "engine/detection/signature_record.h"

std::string ClamLogicalSignature(const SignatureRecord& record);

// Every record of `table` (ended by an empty name), one line each. False when the file cannot be written.
bool WriteClamDatabase(const SignatureRecord* table, const std::string& path);
