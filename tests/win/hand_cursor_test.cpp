// Our own hand pointer must load on systems that lack every other hand (Windows 95, NT 4).
#include <windows.h>

#include <gtest/gtest.h>

#include "resources/resource_ids.h"

TEST(HandCursorResource, LoadsWithItsHotSpotAtTheFingertip)
{
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_VEX_HAND));
    ASSERT_NE(nullptr, hand);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(10u, info.xHotspot);
    EXPECT_EQ(1u, info.yHotspot);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}
