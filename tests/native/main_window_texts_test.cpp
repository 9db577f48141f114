// The window texts' bounds; the texts the window shows are checked on the window itself.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/window_texts.h"

TEST(MainWindowTexts, FullLengthCaptionAndFamilyStillFitTheDescription)
{
    const std::string caption(259, 'c'), family(259, 'f');
    char description[kDescriptionTextSize];
    EXPECT_TRUE(BuildDescriptionText(description, sizeof description, caption.c_str(), family.c_str()));
    EXPECT_EQ(caption.size() + family.size() + std::strlen(" - Tool to detect and remove all the variants of ") +
                  std::strlen(" Trojan "),
              std::strlen(description));
}

TEST(MainWindowTexts, TooLongANameGivesAShorterTextNeverAnOverrun)
{
    const std::string family(300, 'f');
    char guarded[kFamilyLabelTextSize + 8];
    std::memset(guarded, '#', sizeof guarded);
    EXPECT_FALSE(BuildFamilyLabelText(guarded, kFamilyLabelTextSize, family.c_str()));
    EXPECT_LT(std::strlen(guarded), kFamilyLabelTextSize);
    for (size_t i = kFamilyLabelTextSize; i < sizeof guarded; ++i) EXPECT_EQ('#', guarded[i]) << i;

    char small[20];
    EXPECT_FALSE(BuildSearchingForText(small, sizeof small, "W32/StartPage"));
    EXPECT_LT(std::strlen(small), sizeof small);
}
