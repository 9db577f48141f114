// Holding a table against folders of clean files: every file a row matches is a false positive.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/sigtool/row_table.h"

struct CleanHit {
    std::string path;
    size_t row;
    bool sizeIgnored;  // only the row's byte strings matched; the file's length is not the row's
};

struct CleanTally {
    int files = 0;       // regular files read
    int peFiles = 0;     // of them, read as PE by the matcher
    int unreadable = 0;  // regular files that could not be opened
    std::vector<CleanHit> hits;
};

class CleanScanner {
public:
    // With `ignoreSize`, a file that no row matches is held against the rows' byte strings alone as well, with
    // every size test taken as "any length".
    CleanScanner(const RowTable& table, bool ignoreSize);

    // Matches every regular file under `folder` as the scan does; links are not followed. False, with the
    // reason, when the folder cannot be walked to the end.
    bool Scan(const std::string& folder, CleanTally& tally, std::string& error) const;

private:
    void MatchFile(const std::string& path, CleanTally& tally) const;

    const RowTable& table_;
    const bool ignoreSize_;
    const RowTable sizeBlind_;
};
