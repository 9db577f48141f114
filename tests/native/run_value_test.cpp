#include "repair/run_value.h"

#include <gtest/gtest.h>

namespace {
const char kSystemFile[] = "c:\\windows\\system32\\evil.exe";
const char kTempFile[] = "c:\\temp\\evil.exe";
}  // namespace

TEST(RunValue, FullPathAtTheStartOfTheCommand)
{
    EXPECT_EQ(RUN_VALUE_FULL_PATH, JudgeRunValue(kSystemFile, kSystemFile, kSystemFile));
    const char quoted[] = "\"c:\\windows\\system32\\evil.exe\" -start";
    EXPECT_EQ(RUN_VALUE_FULL_PATH, JudgeRunValue(kSystemFile, quoted, quoted));
    EXPECT_EQ(RUN_VALUE_FULL_PATH, JudgeRunValue(kSystemFile, "%systemroot%\\system32\\evil.exe", kSystemFile))
        << "through the expansion";
    EXPECT_EQ(RUN_VALUE_FULL_PATH, JudgeRunValue(kTempFile, "c:\\temp\\evil.exe,1", "c:\\temp\\evil.exe,1"));
    EXPECT_EQ(RUN_VALUE_FULL_PATH, JudgeRunValue(kTempFile, "c:\\temp\\evil.exe/s", "c:\\temp\\evil.exe/s"))
        << "a switch straight after the path";
    EXPECT_EQ(RUN_VALUE_FULL_PATH, JudgeRunValue(kTempFile, "c:\\temp\\evil.exe\t-s", "c:\\temp\\evil.exe\t-s"));
}

TEST(RunValue, CommandsThatMerelyContainOrExtendThePathStay)
{
    const char rundll[] = "rundll32.exe c:\\windows\\system32\\evil.exe";
    EXPECT_EQ(RUN_VALUE_KEEP, JudgeRunValue(kSystemFile, rundll, rundll));
    const char longer[] = "c:\\windows\\system32\\evil.exe2.exe";
    EXPECT_EQ(RUN_VALUE_KEEP, JudgeRunValue(kSystemFile, longer, longer));
    EXPECT_EQ(RUN_VALUE_KEEP, JudgeRunValue(kSystemFile, "", ""));
}

TEST(RunValue, BareNameRemovedOnlyForFilesInSystemFolders)
{
    EXPECT_EQ(RUN_VALUE_BARE_NAME, JudgeRunValue(kSystemFile, "evil.exe", "evil.exe"));
    EXPECT_EQ(RUN_VALUE_BARE_NAME, JudgeRunValue("c:\\windows\\system\\evil.exe", "\"evil.exe\" /s", "x"));
    EXPECT_EQ(RUN_VALUE_BARE_NAME, JudgeRunValue(kSystemFile, "\\evil.exe", "\\evil.exe"))
        << "a leading backslash still counts as bare";
    EXPECT_EQ(RUN_VALUE_KEEP, JudgeRunValue(kTempFile, "evil.exe", "evil.exe"));
}

TEST(RunValue, BareNameMustBeAWholeName)
{
    // An infected a.exe must not take the legitimate java.exe with it.
    EXPECT_EQ(RUN_VALUE_KEEP, JudgeRunValue("c:\\windows\\system32\\a.exe", "java.exe", "java.exe"));
    EXPECT_EQ(RUN_VALUE_KEEP, JudgeRunValue(kSystemFile, "evil.exe2", "evil.exe2"));
    // A bare name ends where a full path does: at a switch without a blank, or a tab.
    EXPECT_EQ(RUN_VALUE_BARE_NAME, JudgeRunValue(kSystemFile, "evil.exe/s", "x"));
    EXPECT_EQ(RUN_VALUE_BARE_NAME, JudgeRunValue(kSystemFile, "evil.exe\t-s", "x"));
    EXPECT_EQ(RUN_VALUE_BARE_NAME, JudgeRunValue("c:\\windows\\system32\\a.exe", "java.exe a.exe", "x"));
}

TEST(RunValue, WholeNameBoundaries)
{
    EXPECT_TRUE(ContainsWholeName("a.exe", "a.exe"));
    EXPECT_TRUE(ContainsWholeName("x\\a.exe,1", "a.exe"));
    EXPECT_TRUE(ContainsWholeName("\"a.exe\"", "a.exe"));
    EXPECT_TRUE(ContainsWholeName("ba.exe a.exe", "a.exe")) << "a later occurrence counts";
    EXPECT_FALSE(ContainsWholeName("ba.exe", "a.exe"));
    EXPECT_FALSE(ContainsWholeName("a.exe.bak", "a.exe"));
    EXPECT_FALSE(ContainsWholeName("anything", ""));
}
