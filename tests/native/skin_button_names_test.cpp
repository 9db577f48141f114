#include <gtest/gtest.h>

#include <string>

#include "ui/button_bitmap_names.h"

TEST(SkinButtonNames, CaptionPlusStateSuffixesInUpperCase)
{
    ButtonBitmapNames names;
    ASSERT_TRUE(MakeButtonBitmapNames("Cancel", names));
    EXPECT_STREQ("CANCEL_FOCUS", names.focus);
    EXPECT_STREQ("CANCEL_NOTFOCUS", names.normal);
    EXPECT_STREQ("CANCEL_DISABLE", names.disabled);

    ASSERT_TRUE(MakeButtonBitmapNames("TARNWICKLOGO", names));
    EXPECT_STREQ("TARNWICKLOGO_NOTFOCUS", names.normal);
}

TEST(SkinButtonNames, EmptyOrOverlongCaptionGivesNoNames)
{
    ButtonBitmapNames names;
    EXPECT_FALSE(MakeButtonBitmapNames("", names));
    EXPECT_FALSE(MakeButtonBitmapNames(nullptr, names));
    std::string longest(kBitmapNameSize - 1 - 9, 'A');  // room left for "_NOTFOCUS" exactly
    EXPECT_TRUE(MakeButtonBitmapNames(longest.c_str(), names));
    EXPECT_FALSE(MakeButtonBitmapNames((longest + "B").c_str(), names));
}
