// Checks of a signature table as a whole: every row well formed, none equal to an earlier row, none shadowed by
// an earlier row.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/sigtool/row_table.h"

enum TableFaultKind {
    FAULT_MALFORMED,  // the record cannot be written as a row, or can never match
    FAULT_DUPLICATE,  // equal to an earlier row in every byte
    FAULT_SHADOWED,   // an earlier row matches every file this one matches
};

struct TableFault {
    size_t row;
    TableFaultKind kind;
    size_t earlierRow;  // duplicates and shadowed rows
    std::string what;   // the whole report line, without the row's own label
};

// The faults in table order, at most one per row.
std::vector<TableFault> CheckTable(const RowTable& table);

// True when `earlier` matches every file that `later` matches, so that `later`, behind it in the table, can never
// name a detection. Sound, not complete: it holds when `earlier`'s size test accepts every length that `later`'s
// accepts and each of `earlier`'s two strings is one of `later`'s (the same offset from the entry point and the
// same 20 bytes). The matcher maps every offset to a file position of its own, so equal offsets read the same
// bytes of any file, while strings at different offsets may land anywhere; a row covered only by several earlier
// rows together, or by strings that merely overlap, is not reported.
bool Shadows(const SignatureRecord& earlier, const SignatureRecord& later);
