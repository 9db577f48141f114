// The main window's shape: regions made from bitmaps of several formats, and from the background picture.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "app/window_region_win.h"
#include "base/gdi.h"
#include "framework/resources.h"
#include "resources/resource_ids.h"
#include "skin_test_support.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

// An 8-bit bottom-up DIB section whose palette has magenta at index 0 and dark blue at index 1.
Bitmap EightBitPicture(int width, int height, const std::function<bool(int x, int y)>& isKey)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info = {};
    info.header = DibHeader(width, height, 8);
    info.header.biClrUsed = 2;
    info.colours[0] = RGBQUAD{255, 0, 255, 0};
    info.colours[1] = RGBQUAD{128, 0, 0, 0};
    unsigned char* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                   reinterpret_cast<void**>(&bits), nullptr, 0));
    int stride = (width + 3) & ~3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bits[(height - 1 - y) * stride + x] = isKey(x, y) ? 0 : 1;
    return bitmap;
}

void ExpectRegionMatches(HRGN region, int width, int height, const std::function<bool(int x, int y)>& inside)
{
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) wrong += (PtInRegion(region, x, y) != FALSE) != inside(x, y);
    EXPECT_EQ(0, wrong);
}

}  // namespace

TEST(SkinWindowRegion, EightBitSourceIsComparedAfterConversion)
{
    auto isKey = [](int x, int y) { return x < 2 || y == 3 || (x + y) % 5 == 0; };
    Bitmap picture = EightBitPicture(13, 7, isKey);
    ASSERT_TRUE(picture);
    Region outside(CreateBitmapRegion(picture.Get(), kMagenta, true));
    ASSERT_TRUE(outside);
    ExpectRegionMatches(outside.Get(), 13, 7, [&](int x, int y) { return !isKey(x, y); });
    Region keys(CreateBitmapRegion(picture.Get(), kMagenta, false));
    ASSERT_TRUE(keys);
    ExpectRegionMatches(keys.Get(), 13, 7, isKey);
}

TEST(SkinWindowRegion, MoreThan2000RunsAreUnitedWhole)
{
    auto isKey = [](int x, int) { return x % 2 == 1; };  // 50 runs a row, 2,500 in all
    Bitmap picture = EightBitPicture(100, 50, isKey);
    Region region(CreateBitmapRegion(picture.Get(), kMagenta, true));
    ASSERT_TRUE(region);
    RECT box;
    EXPECT_EQ(COMPLEXREGION, GetRgnBox(region.Get(), &box));
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(0, box.top);
    EXPECT_EQ(99, box.right);
    EXPECT_EQ(50, box.bottom);
    ExpectRegionMatches(region.Get(), 100, 50, [&](int x, int y) { return !isKey(x, y); });
}

TEST(SkinWindowRegion, AllKeyGivesAnEmptyRegionAndNoBitmapNone)
{
    Bitmap picture = EightBitPicture(9, 4, [](int, int) { return true; });
    Region region(CreateBitmapRegion(picture.Get(), kMagenta, true));
    ASSERT_TRUE(region);
    RECT box;
    EXPECT_EQ(NULLREGION, GetRgnBox(region.Get(), &box));
    EXPECT_EQ(nullptr, CreateBitmapRegion(nullptr, kMagenta, true));
}

TEST(SkinWindowRegion, BackgroundPictureLeavesItsMagentaCornersOutside)
{
    Bitmap background = LoadMappedBitmap(MAKEINTRESOURCEA(IDB_BACKGROUND));
    ASSERT_TRUE(background);
    Picture pixels = PictureOf(background.Get());
    ASSERT_EQ(527, pixels.width);
    ASSERT_EQ(338, pixels.height);
    ASSERT_EQ(kMagenta, pixels.At(0, 0));

    Region region(CreateBitmapRegion(background.Get(), kMagenta, true));
    ASSERT_TRUE(region);
    RECT box;
    ASSERT_EQ(COMPLEXREGION, GetRgnBox(region.Get(), &box));
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, 527);
    EXPECT_LE(box.bottom, 338);
    EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 263, 169));
    ExpectRegionMatches(region.Get(), 527, 338, [&](int x, int y) { return pixels.At(x, y) != kMagenta; });
}
