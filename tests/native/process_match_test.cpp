#include "system/process_match.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
// A volume whose only short names are these.
bool ShortForm(const char* path, char* out, size_t size)
{
    static const char* const kForms[][2] = {
        {"C:\\Program Files\\Evil Thing.exe", "C:\\PROGRA~1\\EVILTH~1.EXE"},
        {"C:\\PROGRA~1\\EVILTH~1.EXE", "C:\\PROGRA~1\\EVILTH~1.EXE"},
        {"C:\\Program Files\\Evil Thin.exe", "C:\\PROGRA~1\\EVILTH~2.EXE"},
    };
    for (const auto& form : kForms) {
        if (std::strcmp(form[0], path) != 0) continue;
        if (std::strlen(form[1]) >= size) return false;
        std::strcpy(out, form[1]);
        return true;
    }
    return false;
}
}  // namespace

TEST(ImagePathMatch, WholePathIgnoringCaseButNotAPrefixNorAnotherFolder)
{
    EXPECT_TRUE(SameImagePath("c:\\windows\\system32\\evil.exe", "C:\\WINDOWS\\System32\\EVIL.EXE", ShortForm));
    EXPECT_FALSE(SameImagePath("C:\\WINDOWS\\SYSTEM32\\EVIL", "C:\\WINDOWS\\SYSTEM32\\EVIL.EXE", ShortForm));
    EXPECT_FALSE(SameImagePath("C:\\WINDOWS\\SYSTEM32\\EVIL.EXE", "C:\\WINDOWS\\SYSTEM32\\EVIL", ShortForm));
    EXPECT_FALSE(SameImagePath("C:\\WINDOWS\\EVIL.EXE", "C:\\Other\\evil.exe", ShortForm)) << "a look-alike elsewhere";
    EXPECT_FALSE(SameImagePath("C:\\WINDOWS\\EVIL.EXE", "evil.exe", ShortForm)) << "a bare name proves nothing";
}

TEST(ImagePathMatch, AShortFormNamesTheSameFileOnlyWhenTheShortFormsAgree)
{
    EXPECT_TRUE(SameImagePath("C:\\Program Files\\Evil Thing.exe", "C:\\PROGRA~1\\EVILTH~1.EXE", ShortForm));
    EXPECT_TRUE(SameImagePath("C:\\PROGRA~1\\EVILTH~1.EXE", "C:\\Program Files\\Evil Thing.exe", ShortForm));
    EXPECT_FALSE(SameImagePath("C:\\Program Files\\Evil Thin.exe", "C:\\PROGRA~1\\EVILTH~1.EXE", ShortForm));
    EXPECT_FALSE(SameImagePath("C:\\Gone\\Evil Thing.exe", "C:\\GONE~1\\EVILTH~1.EXE", ShortForm))
        << "no short form to compare";
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

TEST(PerfDataMatch, TheTargetAloneOrFollowedByACopyNumber)
{
    EXPECT_TRUE(PerfInstanceMatches("abc", "ABC"));
    EXPECT_TRUE(PerfInstanceMatches("ABC#1", "ABC"));
    EXPECT_TRUE(PerfInstanceMatches("abc#12", "ABC"));
    for (const char* other : {"abcd", "abc#", "abc#1x", "abc#-1", "abc 1", "AB", "xABC", ""})
        EXPECT_FALSE(PerfInstanceMatches(other, "ABC")) << other;  // "": names of 17 characters or more
}
