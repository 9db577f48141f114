#include "repair/file_swap.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {
// Files in memory; the operations numbered `failAt` and `alsoFailAt` (counting from 0) fail, changing nothing.
class FailingFiles : public SwapFileSystem {
public:
    explicit FailingFiles(int failAt, int alsoFailAt = -1) : failAt_(failAt), alsoFailAt_(alsoFailAt) {}
    bool WriteComplete(const char* path, const std::string& content) override
    {
        if (Fails()) return false;
        files[path] = content;
        return true;
    }
    bool Move(const char* from, const char* to) override
    {
        if (Fails() || !files.count(from) || files.count(to)) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void Remove(const char* path) override
    {
        if (!Fails()) files.erase(path);
    }
    int operations = 0;
    std::map<std::string, std::string> files;

private:
    bool Fails()
    {
        const int operation = operations++;
        return operation == failAt_ || operation == alsoFailAt_;
    }
    int failAt_;
    int alsoFailAt_;
};

const SwapPaths kPaths = {"wininit.ini", "wininit.vxn", "wininit.vxo"};
}  // namespace

TEST(FileSwap, AFailureAtAnyStepLeavesTheOldContentByteForByte)
{
    const std::string old("[rename]\r\nNUL=C:\\OLD.TMP\r\n\0tail", 31);
    for (bool exists : {true, false}) {
        FailingFiles clean(-1);
        if (exists) clean.files[kPaths.target] = old;
        ASSERT_TRUE(SwapInContent(clean, kPaths, exists, "new"));
        const int steps = clean.operations;
        for (int failAt = 0; failAt < steps; ++failAt) {
            SCOPED_TRACE(testing::Message() << "exists " << exists << ", failing step " << failAt);
            FailingFiles files(failAt);
            if (exists) files.files[kPaths.target] = old;
            const bool swapped = SwapInContent(files, kPaths, exists, "new");
            EXPECT_EQ(0u, files.files.count(kPaths.fresh));
            if (swapped) {
                EXPECT_EQ("new", files.files[kPaths.target]);
            } else if (exists) {
                EXPECT_EQ(old, files.files[kPaths.target]);
            } else {
                EXPECT_EQ(0u, files.files.count(kPaths.target));
            }
        }
    }
}

TEST(FileSwap, AStaleAsideFileIsReplaced)
{
    FailingFiles files(-1);
    files.files = {{kPaths.target, "old"}, {kPaths.previous, "stale"}};
    ASSERT_TRUE(SwapInContent(files, kPaths, true, "new"));
    EXPECT_EQ((std::map<std::string, std::string>{{kPaths.target, "new"}}), files.files);
}

TEST(FileSwap, TheOldContentLeftAsideByBothRenamesFailingComesBackFirst)
{
    // Write, remove a stale aside file, move aside, move in (fails), move back (fails), remove the fresh file.
    FailingFiles files(3, 4);
    files.files[kPaths.target] = "[rename]\r\nNUL=C:\\OTHER.TMP\r\n";
    ASSERT_FALSE(SwapInContent(files, kPaths, true, "lost"));
    ASSERT_EQ(0u, files.files.count(kPaths.target)) << "the failures to stage are not the ones named";

    RestoreMovedAside(files, kPaths);
    ASSERT_TRUE(SwapInContent(files, kPaths, true, files.files[kPaths.target] + "NUL=C:\\NEW.TMP\r\n"));
    EXPECT_EQ(
        (std::map<std::string, std::string>{{kPaths.target, "[rename]\r\nNUL=C:\\OTHER.TMP\r\nNUL=C:\\NEW.TMP\r\n"}}),
        files.files);

    files.files = {{kPaths.target, "current"}, {kPaths.previous, "stale"}};
    RestoreMovedAside(files, kPaths);
    EXPECT_EQ("current", files.files[kPaths.target]) << "an existing file is never replaced by the aside copy";
}
