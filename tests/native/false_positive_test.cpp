// No false positives on real programs: the matcher, reading through files on disk as the scan does, runs over
// every file of Wine's own Windows DLL and EXE folders and of the sandbox template prefix's drive C: (about
// sixteen hundred real PE files) and finds nothing. A second pass drops the size test from every record, so
// that the byte strings themselves are held against every file, not only against files of a sample's length.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/signature_match.h"

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

// A file read the way the scan reads it: a seek and a read that must deliver every byte.
class DiskFile : public RandomAccessFile {
public:
    explicit DiskFile(const fs::path& path) : fd_(open(path.c_str(), O_RDONLY)) {}
    ~DiskFile() override
    {
        if (fd_ >= 0) close(fd_);
    }
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    bool ReadAt(uint32_t offset, void* buffer, uint32_t size) override
    {
        if (offset > kMaxSeekOffset) return false;
        return pread(fd_, buffer, size, offset) == static_cast<ssize_t>(size);
    }

private:
    int fd_;
};

// The shipped records with their size test replaced by "any length".
std::vector<SignatureRecord> SizeBlindTable()
{
    std::vector<SignatureRecord> table;
    for (const SignatureRecord* record = SignatureTable; record->name[0] != '\0'; ++record) {
        table.push_back(*record);
        table.back().sizeTest = SIZE_TEST_NONE;
    }
    table.push_back(SignatureRecord{});
    return table;
}

struct Tally {
    int files = 0;
    int peFiles = 0;
    std::vector<std::string> hits;
};

void MatchFile(const fs::path& path, const SignatureIndex& sizeBlind, Tally& tally)
{
    std::error_code error;
    const uintmax_t length = fs::file_size(path, error);
    if (error || length > INT32_MAX) return;
    DiskFile file(path);
    if (!file.IsOpen()) return;
    ++tally.files;
    PeHeaders headers;
    if (ReadPeHeaders(file, headers) != 1) return;
    ++tally.peFiles;
    const int32_t length32 = static_cast<int32_t>(length);
    if (const SignatureRecord* hit = MatchSignatureTable(file, length32, headers))
        tally.hits.push_back(path.string() + ": " + hit->name);
    if (const SignatureRecord* hit = sizeBlind.Match(file, length32, headers))
        tally.hits.push_back(path.string() + ": " + hit->name + " (byte strings alone, size ignored)");
}

TEST(FalsePositives, NoRecordMatchesAnyOfWinesOwnPrograms)
{
    const std::vector<fs::path> folders = PeFolders();
    if (folders.empty()) GTEST_SKIP() << "no Wine PE folders on this machine";

    const std::vector<SignatureRecord> sizeBlindTable = SizeBlindTable();
    const SignatureIndex sizeBlind(sizeBlindTable.data());
    Tally tally;
    for (const fs::path& folder : folders) {
        std::error_code error;
        // Links are not followed: a prefix's folders may point anywhere.
        for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
             !error && it != end; it.increment(error)) {
            if (it->is_regular_file(error) && !it->is_symlink(error)) MatchFile(it->path(), sizeBlind, tally);
        }
    }
    std::string searched;
    for (const fs::path& folder : folders) searched += " " + folder.string();
    RecordProperty("PeFiles", tally.peFiles);
    std::printf("matched %d files (%d read as PE) under%s\n", tally.files, tally.peFiles, searched.c_str());

    // Enough real programs for the result to mean something.
    EXPECT_GE(tally.peFiles, 500) << "searched:" << searched;
    EXPECT_TRUE(tally.hits.empty()) << ::testing::PrintToString(tally.hits);
}

}  // namespace
