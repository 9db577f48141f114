#include "system/service_image.h"

#include <gtest/gtest.h>

#include "base/platform_text.h"

namespace {

bool programExeExists = false;

bool FakeFileExists(const char* path)
{
    const char* const files[] = {"C:\\WINNT\\System32\\services.exe", "C:\\WINNT\\system32\\svchost.exe",
                                 "C:\\temp\\browser.exe", "C:\\Program Files\\Trojan\\svc.exe"};
    if (programExeExists && EqualsIgnoreCase(path, "C:\\Program.exe")) return true;
    for (const char* file : files)
        if (EqualsIgnoreCase(path, file)) return true;
    return false;
}

const ServiceImageFacts kFacts = {"C:\\WINNT", FakeFileExists};

}  // namespace

TEST(ServiceImageFile, ConfiguredShapesNameTheFileTheServiceManagerStarts)
{
    const struct {
        const char* configured;
        bool expandable;
        const char* file;  // "" when no file can be told
    } cases[] = {
        {"C:\\WINNT\\System32\\services.exe", false, "C:\\WINNT\\System32\\services.exe"},
        {"%SystemRoot%\\System32\\services.exe", true, "C:\\WINNT\\System32\\services.exe"},
        {"%WINDIR%\\system32\\svchost.exe -k netsvcs", true, "C:\\WINNT\\system32\\svchost.exe"},
        {"%SystemDrive%\\temp\\browser.exe", true, "C:\\temp\\browser.exe"},
        // A plain string is not expanded by the manager either.
        {"%SystemRoot%\\System32\\services.exe", false, ""},
        // Other strings take the manager's environment, which the program does not see.
        {"%TEMP%\\browser.exe", true, ""},
        {"\"C:\\Program Files\\Trojan\\svc.exe\" -service", false, "C:\\Program Files\\Trojan\\svc.exe"},
        {"\"C:\\temp\\browser.exe", false, "C:\\temp\\browser.exe"},
        {"\"C:\\temp\\browser\"", false, "C:\\temp\\browser.exe"},
        {"C:\\temp\\browser", false, "C:\\temp\\browser.exe"},
        // Unquoted: the shortest blank-ended prefix that names a file.
        {"C:\\Program Files\\Trojan\\svc.exe -k netsvcs", false, "C:\\Program Files\\Trojan\\svc.exe"},
        {"  C:\\temp\\browser.exe\t-x", false, "C:\\temp\\browser.exe"},
        {"\\SystemRoot\\System32\\services.exe", false, "C:\\WINNT\\System32\\services.exe"},
        {"system32\\svchost.exe", false, "C:\\WINNT\\system32\\svchost.exe"},
        {"\\??\\C:\\temp\\browser.exe", false, "C:\\temp\\browser.exe"},
        {"\\temp\\browser.exe", false, "C:\\temp\\browser.exe"},
        {"C:\\temp\\alerter.exe", false, ""},
        {"\"C:\\temp\\alerter.exe\" C:\\temp\\browser.exe", false, ""},
        {"", true, ""},
    };
    for (const auto& c : cases) {
        char file[kTextBufferSize] = "junk";
        EXPECT_EQ(c.file[0] != '\0', ServiceImageFile(c.configured, c.expandable, kFacts, file)) << c.configured;
        EXPECT_STREQ(c.file, file) << c.configured;
    }
}

TEST(ServiceImageFile, AnEarlierPrefixThatNamesAFileIsTheOneStarted)
{
    programExeExists = true;
    char file[kTextBufferSize];
    EXPECT_TRUE(ServiceImageFile("C:\\Program Files\\Trojan\\svc.exe", false, kFacts, file));
    EXPECT_STREQ("C:\\Program.exe", file);
    programExeExists = false;
}

TEST(ServiceImageFile, TooLongToTellIsNoFile)
{
    char file[kTextBufferSize];
    const std::string longFolder = "C:\\" + std::string(300, 'a') + "\\browser.exe";
    EXPECT_FALSE(ServiceImageFile(longFolder.c_str(), false, kFacts, file));
    const std::string longText = std::string("%SystemRoot%\\") + std::string(kServiceImageTextSize, 'a');
    EXPECT_FALSE(ServiceImageFile(longText.c_str(), true, kFacts, file));
}
