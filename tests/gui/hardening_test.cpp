// Whole-machine hardening checks, run by scripts/hardening-test.sh, which prepares drive C: first (a folder with
// two links to its own tree's root, paths longer than MAX_PATH, a folder and a file closed to everyone) and
// afterwards compares every file that was on the drive, byte for byte. Elsewhere these tests are skipped.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "tests/gui/main_window_fixture.h"
#include "tests/gui/process_resources.h"
#include "tests/gui/seeded_machine.h"

namespace gui {
namespace {

const char kHostileRoot[] = "C:\\Hostile";
// The root of the linked tree: C:\Hostile\loop\nest\back and ...\nest\again both lead back to it.
const char kLinkedTree[] = "C:\\Hostile\\loop";
const char kSampleInTree[] = "C:\\Hostile\\loop\\nest\\dropper.exe";
const char kLeakRoot[] = "C:\\LeakTree";
constexpr int kLeakFolders = 30;
constexpr int kLeakFilesPerFolder = 100;

bool PreparedByScript()
{
    return GetEnvironmentVariableA("VEX_HARDENING", nullptr, 0) > 0;
}

// Holds a file or folder open with no sharing, so that no other process can open or list it meanwhile: the
// Windows way to close a path to the scan, which works where chmod does not (the tests run as root).
class ExclusiveHold {
public:
    explicit ExclusiveHold(const std::string& path)
        : handle_(
              CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr))
    {
    }
    ~ExclusiveHold()
    {
        if (IsHeld()) CloseHandle(handle_);
    }
    ExclusiveHold(const ExclusiveHold&) = delete;
    ExclusiveHold& operator=(const ExclusiveHold&) = delete;
    bool IsHeld() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

bool CanList(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

// Files below `folder` that the walk can name: files whose paths fit MAX_PATH, in folders whose search pattern
// fits it. `skip` is not entered.
int NameableFiles(const std::string& folder, const std::string& skip)
{
    const std::string pattern = folder + "\\*.*";
    if (pattern.size() >= MAX_PATH) return 0;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do {
        const std::string name = entry.cFileName;
        const std::string path = folder + "\\" + name;
        if (name == "." || name == ".." || path.size() >= MAX_PATH || path == skip) continue;
        count += (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? NameableFiles(path, skip) : 1;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return count;
}

bool CanOpen(const std::string& path)
{
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

class Hardening : public MainWindowTest {
protected:
    void SetUp() override
    {
        if (!PreparedByScript()) GTEST_SKIP() << "needs the drive that scripts/hardening-test.sh prepares";
    }
    void TearDown() override
    {
        program_.reset();
        DeleteFileA(kSampleInTree);  // a scan that failed to remove it must not leave it to the next test
    }

    // Waits for the scan's end; the window must still be there and list the statistics alone.
    void ExpectCleanEnd()
    {
        ASSERT_TRUE(WaitForStatus("Scanning completed", kScanTimeoutMs)) << "status: " << ItemText(ID_STATUS);
        ASSERT_TRUE(program_->Running());
        std::vector<std::string> lines = Lines();
        ASSERT_EQ(5u, lines.size()) << ::testing::PrintToString(lines);
        scanned = StatisticsValue(lines[2]);
        EXPECT_EQ(StatisticsBlock(scanned, 0, 0), lines);
    }

    int scanned = -1;
};

// A drive with a folder linking twice to its tree's root, over-long paths, an unlistable folder and an
// unopenable file, and one sample inside the linked tree: the scan ends, removes the sample once, counts every
// file it can name once, and the program is still alive. The script then finds every file of the drive
// unchanged and nothing outside it touched.
TEST_F(Hardening, FullScanEndsRemovesTheSampleOnceAndCountsEveryFileOnce)
{
    const std::string lockedFolder = std::string(kHostileRoot) + "\\locked";
    const std::string lockedFile = std::string(kHostileRoot) + "\\locked.bin";
    ExclusiveHold folderHold(lockedFolder), fileHold(lockedFile);
    ASSERT_TRUE(folderHold.IsHeld()) << lockedFolder;
    ASSERT_TRUE(fileHold.IsHeld()) << lockedFile;
    EXPECT_FALSE(CanList(lockedFolder)) << "a held folder can still be listed";
    EXPECT_FALSE(CanOpen(lockedFile)) << "a held file can still be opened";
    std::string error;
    ASSERT_TRUE(WriteRowSample(0, kSampleInTree, &error)) << error;
    const SeededSample sample{kSampleInTree, RowName(0)};

    ASSERT_NO_FATAL_FAILURE(Start());
    // The linked tree's own files; through the links, nothing more.
    const std::string nest = std::string(kLinkedTree) + "\\nest";
    const int linkedTree = FilesIn(kLinkedTree) + FilesIn(nest);
    const int expected = NameableFiles("C:", kLinkedTree) + linkedTree;
    Click(Item(ID_SCAN));
    ASSERT_TRUE(WaitForStatus("Scanning completed", kScanTimeoutMs)) << "status: " << ItemText(ID_STATUS);
    ASSERT_TRUE(program_->Running());
    std::vector<std::string> expectedLines = {RemovedLine(sample)};
    for (const std::string& line : StatisticsBlock(expected, 1, 1)) expectedLines.push_back(line);
    EXPECT_EQ(expectedLines, Lines());
    EXPECT_FALSE(FileExists(kSampleInTree));
    std::printf("%d files on the drive the walk can name, %d of them in the linked tree\n", expected, linkedTree);
    CloseWithOk();
}

class LeakCheck : public Hardening {
protected:
    void SetUp() override
    {
        Hardening::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(WriteBulkTree(kLeakRoot, kLeakFolders, kLeakFilesPerFolder));
        order = FolderOrder();
        ASSERT_EQ(static_cast<size_t>(kLeakFolders), order.size());
    }
    void TearDown() override
    {
        Hardening::TearDown();
        RemoveTree(kLeakRoot);
    }

    // The tree's folders in the order the file system lists them, which is the order the walk takes.
    static std::vector<std::string> FolderOrder()
    {
        std::vector<std::string> folders;
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA((std::string(kLeakRoot) + "\\*.*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) return folders;
        do {
            if (entry.cFileName[0] != '.') folders.push_back(entry.cFileName);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
        return folders;
    }

    // The position in the walk order of the tree folder that `status` shows a file of, or -1; `page` is the
    // file's number.
    int FolderPosition(const std::string& status, int* page) const
    {
        const std::string root = std::string(kLeakRoot) + "\\";
        if (status.rfind(root, 0) != 0) return -1;
        const size_t slash = status.find('\\', root.size());
        if (slash == std::string::npos) return -1;
        const std::string folder = status.substr(root.size(), slash - root.size());
        *page = std::atoi(status.c_str() + status.find("page", slash) + 4);
        for (size_t i = 0; i < order.size(); ++i)
            if (order[i] == folder) return static_cast<int>(i);
        return -1;
    }

    // Pauses the scan with the CANCEL question once the walk is in the tree folders [first, last] of the walk
    // order, reads the counts while the walker waits inside the question, and answers No. The reading counts
    // only when the walker stopped inside such a folder before its last file (status line checked while
    // paused): there the same searches are open every time. Otherwise it asks again. `pausedAt` is the folder.
    bool PausedCounts(int first, int last, ResourceCounts* counts, int* pausedAt)
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            int page = 0;
            // The walk passes a folder of the tree in a few milliseconds: the status line is read without pause.
            const bool reached = WaitFor(
                [&] {
                    const std::string status = ItemText(ID_STATUS);
                    const int at = FolderPosition(status, &page);
                    return (at >= first && at <= last) || status == "Scanning completed" || !program_->Running();
                },
                kScanTimeoutMs, 0);
            if (!reached || ItemText(ID_STATUS) == "Scanning completed") break;
            Click(Item(ID_CANCEL));
            HWND box = WaitForQuestion(kProductCaption);
            if (!box) return false;
            const int at = FolderPosition(ItemText(ID_STATUS), &page);
            const bool inside = at >= first && at <= last && page < kLeakFilesPerFolder - 1;
            if (inside) *counts = ReadSettledResourceCounts(program_->ProcessId());
            Answer(box, IDNO);
            *pausedAt = at;
            if (inside) return true;
        }
        ADD_FAILURE() << "the scan could not be paused in folders " << first << " to " << last << " of the tree";
        return false;
    }

    std::vector<std::string> order;
};

// Thousands of files must not cost a handle, a GDI object or a window each: the counts with the scan paused
// after the first hundred files of the tree equal those with it paused again at least eight hundred files
// later, and after the scan none is higher (the paused readings include the question box and the walker's
// open searches, which the finished window no longer has).
TEST_F(LeakCheck, HandleAndObjectCountsStayFlatAcrossThousandsOfFiles)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    Click(Item(ID_SCAN));
    // From the tree's second folder on (its first hundred files done), and again at least eight folders
    // later. The ranges span many folders each: on a busy machine the walk may get a long way past the reading
    // that sends the question before it takes the click.
    ResourceCounts early, late;
    int earlyAt = 0, lateAt = 0;
    ASSERT_TRUE(PausedCounts(1, kLeakFolders / 2, &early, &earlyAt));
    ASSERT_TRUE(PausedCounts(earlyAt + 8, kLeakFolders - 2, &late, &lateAt));
    ASSERT_NO_FATAL_FAILURE(ExpectCleanEnd());
    const ResourceCounts after = ReadResourceCounts(program_->ProcessId());
    std::printf("paused in folder %d of the tree: %s\npaused in folder %d: %s\nafter the scan: %s\n", earlyAt,
                Describe(early).c_str(), lateAt, Describe(late).c_str(), Describe(after).c_str());

    ASSERT_GE(early.handles, 0) << "the program's handles cannot be counted";
    ASSERT_GE(early.gdiObjects, 0) << "the program's GDI objects cannot be counted";
    EXPECT_GT(early.windows, 0);
    EXPECT_EQ(early, late) << "early: " << Describe(early) << "\nlate:  " << Describe(late);
    EXPECT_LE(after.handles, early.handles);
    EXPECT_LE(after.gdiObjects, early.gdiObjects);
    EXPECT_LE(after.userObjects, early.userObjects);
    EXPECT_LE(after.windows, early.windows);
    CloseWithOk();
}

}  // namespace
}  // namespace gui
