#include "system/process_match.h"

#include <gtest/gtest.h>

TEST(ToolhelpMatch, ComparesFileNamesOnlyIgnoringCase)
{
    EXPECT_TRUE(ToolhelpNameMatches("C:\\WINDOWS\\SYSTEM\\EVIL.EXE", "C:\\Other\\evil.exe"));
    EXPECT_TRUE(ToolhelpNameMatches("C:\\WINDOWS\\EVIL.EXE", "evil.exe"));
    EXPECT_FALSE(ToolhelpNameMatches("C:\\WINDOWS\\EVIL.EXE", "C:\\WINDOWS\\EVIL.EXE.BAK"));
    EXPECT_FALSE(ToolhelpNameMatches("C:\\WINDOWS\\EVIL.EXE", "C:\\WINDOWS\\XEVIL.EXE"));
}

TEST(PsapiMatch, WholePathIgnoringCaseButNotAPrefix)
{
    EXPECT_TRUE(PsapiPathMatches("c:\\windows\\system32\\evil.exe", "C:\\WINDOWS\\System32\\EVIL.EXE"));
    EXPECT_FALSE(PsapiPathMatches("C:\\WINDOWS\\SYSTEM32\\EVIL", "C:\\WINDOWS\\SYSTEM32\\EVIL.EXE"));
    EXPECT_FALSE(PsapiPathMatches("C:\\WINDOWS\\SYSTEM32\\EVIL.EXE", "C:\\WINDOWS\\SYSTEM32\\EVIL"));
}

TEST(PerfDataMatch, TargetIsTheBaseNameWithoutItsLastFourCharacters)
{
    char target[kPerfTargetSize];
    ASSERT_TRUE(PerfDataTarget("C:\\Windows\\System32\\abc.exe", target));
    EXPECT_STREQ("ABC", target);
    ASSERT_TRUE(PerfDataTarget("evil.scr", target));
    EXPECT_STREQ("EVIL", target);
    ASSERT_TRUE(PerfDataTarget("C:\\dir\\names", target));  // cut whatever the last four characters are
    EXPECT_STREQ("N", target);
}

TEST(PerfDataMatch, NoTargetForShortPathsOrAnEmptyBaseName)
{
    char target[kPerfTargetSize];
    EXPECT_FALSE(PerfDataTarget("a.ex", target));
    EXPECT_FALSE(PerfDataTarget("", target));
    // C:\dir\.exe would otherwise give an empty target that every process name begins with.
    EXPECT_FALSE(PerfDataTarget("C:\\dir\\.exe", target));
    EXPECT_FALSE(PerfInstanceMatches("explorer", ""));
}

TEST(PerfDataMatch, InstanceNamesThatBeginWithTheTarget)
{
    EXPECT_TRUE(PerfInstanceMatches("ABC", "ABC"));
    EXPECT_TRUE(PerfInstanceMatches("abcd", "ABC"));
    EXPECT_TRUE(PerfInstanceMatches("ABC#1", "ABC"));
    EXPECT_FALSE(PerfInstanceMatches("AB", "ABC"));
    EXPECT_FALSE(PerfInstanceMatches("xABC", "ABC"));
    EXPECT_FALSE(PerfInstanceMatches("", "ABC"));  // names of 17 characters or more are stored empty
}
