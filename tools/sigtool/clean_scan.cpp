#include "tools/sigtool/clean_scan.h"

#include <filesystem>

#include "tools/sigtool/disk_file.h"

namespace {

namespace fs = std::filesystem;

std::vector<SignatureRecord> SizeBlindRows(const RowTable& table)
{
    std::vector<SignatureRecord> rows;
    for (size_t i = 0; i < table.RowCount(); ++i) {
        rows.push_back(table.Row(i));
        rows.back().sizeTest = SIZE_TEST_NONE;
    }
    return rows;
}

}  // namespace

CleanScanner::CleanScanner(const RowTable& table, bool ignoreSize)
    : table_(table),
      ignoreSize_(ignoreSize),
      sizeBlind_(ignoreSize ? SizeBlindRows(table) : std::vector<SignatureRecord>())
{
}

void CleanScanner::MatchFile(const std::string& path, CleanTally& tally) const
{
    DiskFile file(path.c_str());
    if (!file.IsOpen()) {
        ++tally.unreadable;
        return;
    }
    ++tally.files;
    PeHeaders headers;
    if (file.Length() > INT32_MAX || ReadPeHeaders(file, headers) != 1) return;
    ++tally.peFiles;
    const int32_t length = static_cast<int32_t>(file.Length());
    if (const SignatureRecord* hit = table_.Index().Match(file, length, headers)) {
        tally.hits.push_back({path, table_.IndexOf(hit), false});
    } else if (ignoreSize_) {
        if (const SignatureRecord* blindHit = sizeBlind_.Index().Match(file, length, headers))
            tally.hits.push_back({path, sizeBlind_.IndexOf(blindHit), true});
    }
}

bool CleanScanner::Scan(const std::string& folder, CleanTally& tally, std::string& error) const
{
    std::error_code code;
    if (!fs::is_directory(folder, code)) {
        error = folder + ": not a folder";
        return false;
    }
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, code), end;
    for (; !code && it != end; it.increment(code)) {
        if (!it->is_symlink(code) && it->is_regular_file(code)) MatchFile(it->path().string(), tally);
    }
    if (code) {
        error = folder + ": the walk stopped: " + code.message();
        return false;
    }
    return true;
}
