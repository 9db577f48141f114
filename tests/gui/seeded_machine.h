// Builds the files of a test machine on drive C: from inside the prefix: clean documents and programs, one
// synthetic sample of every shipped signature row (made by the sample generator), and a large tree of plain
// files that keeps a scan busy for a while.
#pragma once

#include <string>
#include <vector>

#include "tests/common/file_tree.h"

namespace gui {

struct SeededSample {
    std::string path;
    std::string detectionName;
};

// Creates the folder and all missing parents.
bool MakeFolders(const std::string& folder);
bool WriteTextFile(const std::string& path, const std::string& text);

// The sample of shipped row `row` (from 0) written to `path`; false, with the reason, when it cannot be made.
bool WriteRowSample(int row, const std::string& path, std::string* error);
int ShippedRowCount();
std::string RowName(int row);

// The results-list line of a sample that the scan deleted.
std::string RemovedLine(const SeededSample& sample);

// `folders` x `filesPerFolder` empty files below `root`.
bool WriteBulkTree(const std::string& root, int folders, int filesPerFolder);

}  // namespace gui
