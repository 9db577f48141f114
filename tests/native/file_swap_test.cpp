#include "repair/file_swap.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {
// Files in memory; the operation numbered `failAt` (counting from 0) fails, changing nothing.
class FailingFiles : public SwapFileSystem {
public:
    explicit FailingFiles(int failAt) : failAt_(failAt) {}
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
    bool Fails() { return operations++ == failAt_; }
    int failAt_;
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
