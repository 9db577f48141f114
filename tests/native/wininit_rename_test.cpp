#include "repair/wininit_rename.h"

#include <gtest/gtest.h>

namespace {
std::string Add(const std::string& content, const std::string& target = "C:\\WINDOWS\\EVIL~1.EXE")
{
    return AddWininitEntry(content, "NUL", target);
}
}  // namespace

TEST(WininitRename, NewFileHoldsTheSectionAndTheEntry)
{
    EXPECT_EQ("[rename]\r\nNUL=C:\\WINDOWS\\EVIL~1.EXE\r\n", Add(""));
}

TEST(WininitRename, EntryEndsTheRenameSectionAboveTheNextSection)
{
    EXPECT_EQ("[Rename]\r\nNUL=C:\\A.EXE\r\nNUL=C:\\B.EXE\r\n[other]\r\nx=1\r\n",
              Add("[Rename]\r\nNUL=C:\\A.EXE\r\n[other]\r\nx=1\r\n", "C:\\B.EXE"));
    EXPECT_EQ("[x]\r\n[RENAME]\r\nNUL=C:\\B.EXE\r\n[y]\r\n[rename]\r\n",
              Add("[x]\r\n[RENAME]\r\n[y]\r\n[rename]\r\n", "C:\\B.EXE"))
        << "only the first section is used";
}

TEST(WininitRename, EntryEndsTheFileWhenRenameIsTheLastSection)
{
    EXPECT_EQ("[x]\r\ny=1\r\n[rename]\r\nNUL=C:\\A.EXE\r\nNUL=C:\\B.EXE\r\n",
              Add("[x]\r\ny=1\r\n[rename]\r\nNUL=C:\\A.EXE\r\n", "C:\\B.EXE"));
}

TEST(WininitRename, MissingSectionIsAddedAtTheEnd)
{
    EXPECT_EQ("[x]\r\ny=1\r\n[rename]\r\nNUL=C:\\B.EXE\r\n", Add("[x]\r\ny=1\r\n", "C:\\B.EXE"));
    EXPECT_EQ(" [rename]\r\n[rename]\r\nNUL=C:\\B.EXE\r\n", Add(" [rename]\r\n", "C:\\B.EXE"))
        << "a blank before the bracket is not the section";
}

TEST(WininitRename, LastLineWithoutLineEndIsNotJoinedToTheEntry)
{
    EXPECT_EQ("[rename]\r\nNUL=C:\\A.EXE\r\nNUL=C:\\B.EXE\r\n", Add("[rename]\r\nNUL=C:\\A.EXE", "C:\\B.EXE"));
    EXPECT_EQ("[x]\r\n[rename]\r\nNUL=C:\\B.EXE\r\n", Add("[x]", "C:\\B.EXE"));
}

TEST(WininitRename, LongLinesPassUnchangedAndAreNeverSectionLines)
{
    // A 647-character read used to leave "[other]" at the start of a continuation piece.
    std::string longLine = "NUL=" + std::string(643, 'a') + "[other]xx\r\n";
    std::string content = "[rename]\r\n" + longLine + "[next]\r\n";
    EXPECT_EQ("[rename]\r\n" + longLine + "NUL=C:\\B.EXE\r\n[next]\r\n", Add(content, "C:\\B.EXE"));
    std::string huge(100000, 'z');
    EXPECT_EQ(huge + "\r\n[rename]\r\nNUL=C:\\B.EXE\r\n", Add(huge, "C:\\B.EXE"));
}

TEST(WininitRename, BinaryBytesAndOtherLineEndsPassThrough)
{
    const char content[] = "[rename]\nA=\0\x01\xff\n[x]\n";
    const char expected[] = "[rename]\nA=\0\x01\xff\nNUL=C:\\B.EXE\r\n[x]\n";
    EXPECT_EQ(std::string(expected, sizeof expected - 1), Add(std::string(content, sizeof content - 1), "C:\\B.EXE"));
}

TEST(WininitRename, TwoEntriesFollowInTheirOrder)
{
    EXPECT_EQ("[rename]\r\nNUL=C:\\A.EXE\r\nNUL=C:\\B.EXE\r\n", Add(Add("", "C:\\A.EXE"), "C:\\B.EXE"));
}
