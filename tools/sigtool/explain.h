// What the matcher makes of one file: the row that matches it, and for every row whose size test accepts the
// file's length what each of the row's two strings finds.
#pragma once

#include <ostream>

#include "tools/sigtool/row_table.h"
#include "tools/sigtool/sample_file.h"

// The file's headers must have been read. Writes the verdict first ("matched by row N (NAME)" or "no row
// matches"), then one block per row of the file's length, or the nearest row's length when there is none.
void ExplainSample(SampleFile& sample, const RowTable& table, std::ostream& out);
