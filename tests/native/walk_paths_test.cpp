#include <gtest/gtest.h>

#include <string>

#include "engine/walk_paths.h"

TEST(WalkPaths, JoinCutsOnlyAtTheLastDot)
{
    char out[kTextBufferSize];
    ASSERT_TRUE(JoinAtLastDot("C:\\*.*", "a.txt", "", out, sizeof out));
    EXPECT_STREQ("C:\\a.txt", out);
    ASSERT_TRUE(JoinAtLastDot("C:\\v1.2\\x.y\\*.*", "sub", "\\*.*", out, sizeof out));
    EXPECT_STREQ("C:\\v1.2\\x.y\\sub\\*.*", out);
    EXPECT_FALSE(JoinAtLastDot("C:\\*", "a", "", out, sizeof out));
}

TEST(WalkPaths, JoinRefusesWhatDoesNotFit)
{
    char out[16];
    EXPECT_TRUE(JoinAtLastDot("C:\\*.*", "12345678901", "", out, sizeof out));  // 14 characters
    EXPECT_FALSE(JoinAtLastDot("C:\\*.*", "123456789012", "\\*.*", out, sizeof out));
    std::string longPattern(300, 'a');
    longPattern += "\\*.*";
    EXPECT_FALSE(JoinAtLastDot(longPattern.c_str(), "b", "", out, sizeof out));
}

TEST(WalkPaths, DirectoryPatternOfAStarDotStarPatternIsItself)
{
    char out[kTextBufferSize];
    ASSERT_TRUE(DirectoryPattern("C:\\dir.x\\*.*", out, sizeof out));
    EXPECT_STREQ("C:\\dir.x\\*.*", out);
    ASSERT_TRUE(DirectoryPattern("C:\\dir\\evil.exe", out, sizeof out));
    EXPECT_STREQ("C:\\dir\\evil.*", out);
    ASSERT_TRUE(DirectoryPattern("C:\\nodot", out, sizeof out));
    EXPECT_STREQ("C:\\nodot*", out);
}

TEST(WalkPaths, DisplayKeepsSixtyAndShortensSixtyOne)
{
    char out[kTextBufferSize];
    std::string sixty(60, 'a');
    ShortenPathForDisplay(sixty.c_str(), out, sizeof out, 60);
    EXPECT_EQ(sixty, out);

    std::string sixtyOne = std::string(29, 'h') + "abc" + std::string(29, 't');
    ShortenPathForDisplay(sixtyOne.c_str(), out, sizeof out, 60);
    EXPECT_EQ(std::string(29, 'h') + ".." + std::string(29, 't'), out);

    ShortenPathForDisplay(sixtyOne.c_str(), out, sizeof out, 61);  // odd maximum: three dots
    EXPECT_EQ(sixtyOne, out);
    std::string sixtyTwo = sixtyOne + "!";
    ShortenPathForDisplay(sixtyTwo.c_str(), out, sizeof out, 61);
    EXPECT_EQ(std::string(29, 'h') + "..." + sixtyTwo.substr(33), out);
    EXPECT_EQ(61u, std::string(out).size());
}

TEST(WalkPaths, DisplayNeverOverrunsItsBuffer)
{
    char out[8];
    std::string longText(100, 'x');
    ShortenPathForDisplay(longText.c_str(), out, sizeof out, 3);  // half is 0: copied, bounded
    EXPECT_EQ(std::string(7, 'x'), out);
    ShortenPathForDisplay(longText.c_str(), out, sizeof out, 60);  // maximum larger than the buffer
    EXPECT_EQ(std::string(7, 'x'), out);
}

TEST(WalkPaths, ProgramFilesOnlyForDriveRootPatterns)
{
    char out[kTextBufferSize];
    ASSERT_TRUE(ProgramFilesFolder("C:\\*.*", out, sizeof out));
    EXPECT_STREQ("C:\\Program Files", out);
    EXPECT_FALSE(ProgramFilesFolder("C:\\a\\*.*", out, sizeof out));
    EXPECT_FALSE(ProgramFilesFolder("*.*", out, sizeof out));
    EXPECT_TRUE(IsInsideProgramFiles("C:\\Program Files\\x\\*.*"));
    EXPECT_FALSE(IsInsideProgramFiles("C:\\PROGRAM FILES\\*.*"));
}
