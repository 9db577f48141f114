// The text form of signature rows: the SIGNATURE_ROW lines of engine/detection/signature_rows.inc, written and read at
// run time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/detection/signature_record.h"

// Why a detection name cannot go into a row, or nullptr when it can: 1 to 49 characters (the record keeps a
// terminating NUL) of printable ASCII without '"' and '\' (the row holds the name as a plain string literal).
const char* NameFault(const char* name, size_t length);

// A signed 32-bit number in decimal or, after "0x", hexadecimal, with an optional leading '-'. False for
// anything else, and for numbers out of range.
bool ParseInt32(const std::string& text, int32_t& value);

// The record's SIGNATURE_ROW line, in the form the table's rows are kept in.
std::string FormatRow(const SignatureRecord& record);

// Rows from text in engine/detection/signature_rows.inc's form: SIGNATURE_ROW lines, blank lines and // comments. False,
// with the line number and the fault in `error`, at the first line that is none of these.
bool ParseRows(const std::string& text, std::vector<SignatureRecord>& rows, std::string& error);
