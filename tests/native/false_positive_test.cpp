// No false positives on real programs: the matcher, reading through files on disk as the scan does, runs over
// every file of Wine's own Windows DLL and EXE folders and of the sandbox template prefix's drive C: (about
// sixteen hundred real PE files) and finds nothing, as `sigtool check --any-size --clean` does: a file no row
// matches is held against the records' byte strings alone too, not only when it has a sample's length.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/sigtool/clean_scan.h"

namespace {

namespace fs = std::filesystem;

// Wine's builtin PE modules (Debian's layout and the generic one), and a prefix made from them.
std::vector<fs::path> PeFolders()
{
    std::vector<fs::path> candidates = {
        "/usr/lib/i386-linux-gnu/wine/i386-windows",
        "/usr/lib/wine/i386-windows",
        "/usr/lib32/wine/i386-windows",
        "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows",
        fs::path(VEX_SOURCE_DIR) / "build/wine/template/drive_c",
    };
    std::vector<fs::path> present;
    std::error_code error;
    for (const fs::path& folder : candidates)
        if (fs::is_directory(folder, error)) present.push_back(folder);
    return present;
}

TEST(FalsePositives, NoRecordMatchesAnyOfWinesOwnPrograms)
{
    const std::vector<fs::path> folders = PeFolders();
    if (folders.empty()) GTEST_SKIP() << "no Wine PE folders on this machine";

    const RowTable table(CompiledRows());
    const CleanScanner scanner(table, true);
    CleanTally tally;
    std::string searched;
    for (const fs::path& folder : folders) {
        std::string error;
        EXPECT_TRUE(scanner.Scan(folder.string(), tally, error)) << error;
        searched += " " + folder.string();
    }
    RecordProperty("PeFiles", tally.peFiles);
    std::printf("matched %d files (%d read as PE) under%s\n", tally.files, tally.peFiles, searched.c_str());

    // Enough real programs for the result to mean something.
    EXPECT_GE(tally.peFiles, 500) << "searched:" << searched;
    for (const CleanHit& hit : tally.hits)
        ADD_FAILURE() << hit.path << ": " << table.Label(hit.row) << (hit.sizeIgnored ? " (byte strings alone)" : "");
}

}  // namespace
