// Checks the committed pictures against what the window code and the resource script rely on: every bitmap's
// size and colour depth, a colour table free of the greys that LoadImage remaps, the background's shape, the
// uniform disabled faces and the icon file's directory.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string ArtFolder()
{
    std::string here = __FILE__;  // .../tests/native/artwork_test.cpp
    return here.substr(0, here.rfind("/tests/native/")) + "/resources/art/";
}

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at)
{
    return uint16_t(b[at] | b[at + 1] << 8);
}

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// A bottom-up, uncompressed Windows bitmap, read independently of the generator.
struct Bitmap {
    int width = 0, height = 0, bits = 0;
    std::vector<Rgb> palette;
    std::vector<uint8_t> file;
    uint32_t pixelOffset = 0;

    Rgb At(int x, int y) const
    {
        size_t row = pixelOffset + size_t(height - 1 - y) * ((width * bits + 31) / 32 * 4);
        if (bits == 24) return Rgb{file[row + 3 * x + 2], file[row + 3 * x + 1], file[row + 3 * x]};
        int index = bits == 8 ? file[row + x] : (file[row + x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
        return palette.at(index);
    }
};

::testing::AssertionResult Parse(const std::string& name, Bitmap& out)
{
    out.file = ReadAll(ArtFolder() + name);
    const std::vector<uint8_t>& f = out.file;
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M') return ::testing::AssertionFailure() << name << ": not a bitmap";
    if (U32(f, 2) != f.size()) return ::testing::AssertionFailure() << name << ": file size field " << U32(f, 2);
    if (U32(f, 14) != 40) return ::testing::AssertionFailure() << name << ": info header is not 40 bytes";
    out.width = int(U32(f, 18));
    out.height = int(U32(f, 22));
    out.bits = U16(f, 28);
    if (U16(f, 26) != 1 || U32(f, 30) != 0) return ::testing::AssertionFailure() << name << ": planes or compression";
    if (out.width <= 0 || out.height <= 0) return ::testing::AssertionFailure() << name << ": not bottom-up";
    uint32_t entries = out.bits <= 8 ? (U32(f, 46) ? U32(f, 46) : 1u << out.bits) : 0;
    if (out.bits <= 8 && entries > (1u << out.bits))
        return ::testing::AssertionFailure() << name << ": colour table too long";
    out.pixelOffset = U32(f, 10);
    if (out.pixelOffset != 54 + 4 * entries)
        return ::testing::AssertionFailure() << name << ": pixel offset " << out.pixelOffset;
    size_t rowBytes = (out.width * out.bits + 31) / 32 * 4;
    if (f.size() < out.pixelOffset + rowBytes * out.height)
        return ::testing::AssertionFailure() << name << ": short pixel data";
    for (uint32_t i = 0; i < entries; ++i)
        out.palette.push_back(Rgb{f[54 + 4 * i + 2], f[54 + 4 * i + 1], f[54 + 4 * i]});
    return ::testing::AssertionSuccess();
}

struct Expected {
    const char* file;
    int width, height, bits;
};

const Expected kBitmaps[] = {
    {"156.bmp", 527, 338, 8},
    {"SCAN_FOCUS.bmp", 180, 33, 8},
    {"SCAN_NOTFOCUS.bmp", 180, 33, 8},
    {"SCAN_DISABLE.bmp", 180, 33, 4},
    {"DOWNLOAD_FOCUS.bmp", 180, 33, 8},
    {"DOWNLOAD_NOTFOCUS.bmp", 180, 33, 8},
    {"DOWNLOAD_DISABLE.bmp", 180, 33, 4},
    {"X_FOCUS.bmp", 21, 21, 8},
    {"X_NOTFOCUS.bmp", 21, 21, 8},
    {"OK_FOCUS.bmp", 92, 24, 8},
    {"OK_NOTFOCUS.bmp", 92, 24, 8},
    {"CANCEL_FOCUS.bmp", 92, 24, 8},
    {"CANCEL_NOTFOCUS.bmp", 92, 24, 8},
    {"YES_FOCUS.bmp", 92, 24, 8},
    {"YES_NOTFOCUS.bmp", 92, 24, 8},
    {"NO_FOCUS.bmp", 92, 24, 8},
    {"NO_NOTFOCUS.bmp", 92, 24, 8},
    {"DLINK_FOCUS.bmp", 350, 43, 24},
    {"DLINK_NOTFOCUS.bmp", 350, 43, 24},
    {"ULINK_FOCUS.bmp", 350, 28, 24},
    {"ULINK_NOTFOCUS.bmp", 350, 28, 24},
    {"TARNWICKLOGO_FOCUS.bmp", 100, 36, 24},
    {"TARNWICKLOGO_NOTFOCUS.bmp", 100, 36, 24},
    {"152.bmp", 42, 40, 24},
    {"153.bmp", 42, 40, 24},
    {"154.bmp", 42, 40, 24},
    {"155.bmp", 42, 40, 24},
};

constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kPanel{207, 233, 254};

TEST(Artwork, EveryBitmapHasItsSizeAndDepth)
{
    for (const Expected& e : kBitmaps) {
        SCOPED_TRACE(e.file);
        Bitmap bmp;
        ASSERT_TRUE(Parse(e.file, bmp));
        EXPECT_EQ(bmp.width, e.width);
        EXPECT_EQ(bmp.height, e.height);
        EXPECT_EQ(bmp.bits, e.bits);
    }
}

TEST(Artwork, ColourTablesAvoidTheGreysThatLoadImageRemaps)
{
    // LR_LOADMAP3DCOLORS replaces these by the desktop's 3-D colours in any bitmap with a colour table.
    const Rgb remapped[] = {{128, 128, 128}, {192, 192, 192}, {223, 223, 223}};
    for (const Expected& e : kBitmaps) {
        SCOPED_TRACE(e.file);
        Bitmap bmp;
        ASSERT_TRUE(Parse(e.file, bmp));
        for (const Rgb& entry : bmp.palette)
            for (const Rgb& grey : remapped) EXPECT_FALSE(entry == grey);
    }
}

TEST(Artwork, BackgroundIsOneShapeOnMagentaWithTheBlueBand)
{
    Bitmap bg;
    ASSERT_TRUE(Parse("156.bmp", bg));
    for (auto [x, y] : {std::pair{0, 0}, {526, 0}, {0, 337}, {526, 337}})
        EXPECT_EQ(bg.At(x, y), kMagenta) << x << "," << y;
    EXPECT_FALSE(bg.At(263, 169) == kMagenta);
    // The family label paints its text on this exact blue; the band must match it.
    EXPECT_EQ(bg.At(263, 48), (Rgb{2, 77, 246}));
    // Each row is magenta, then one unbroken run of picture, then magenta: a stray key pixel inside would punch
    // a hole into the window region.
    for (int y = 0; y < bg.height; ++y) {
        int runs = 0;
        bool inside = false;
        for (int x = 0; x < bg.width; ++x) {
            bool picture = !(bg.At(x, y) == kMagenta);
            if (picture && !inside) ++runs;
            inside = picture;
        }
        EXPECT_EQ(runs, 1) << "row " << y;
    }
}

TEST(Artwork, DisabledFacesAreUniformPanel)
{
    for (const char* name : {"SCAN_DISABLE.bmp", "DOWNLOAD_DISABLE.bmp"}) {
        SCOPED_TRACE(name);
        Bitmap bmp;
        ASSERT_TRUE(Parse(name, bmp));
        for (int y = 0; y < bmp.height; ++y)
            for (int x = 0; x < bmp.width; ++x) ASSERT_EQ(bmp.At(x, y), kPanel) << x << "," << y;
    }
}

TEST(Artwork, IconFileHoldsA32PixelImageWithMask)
{
    std::vector<uint8_t> f = ReadAll(ArtFolder() + "128.ico");
    ASSERT_GE(f.size(), 6u);
    EXPECT_EQ(U16(f, 0), 0);
    EXPECT_EQ(U16(f, 2), 1);  // icon, not cursor
    int count = U16(f, 4);
    ASSERT_GE(count, 1);
    ASSERT_GE(f.size(), 6u + 16u * count);
    bool has32 = false;
    for (int i = 0; i < count; ++i) {
        size_t entry = 6 + 16 * i;
        uint32_t bytes = U32(f, entry + 8), offset = U32(f, entry + 12);
        ASSERT_LE(size_t(offset) + bytes, f.size());
        int side = f[entry] ? f[entry] : 256;
        // Each image is a DIB whose height counts the colour rows and the mask rows.
        EXPECT_EQ(U32(f, offset), 40u);
        EXPECT_EQ(int(U32(f, offset + 4)), side);
        EXPECT_EQ(int(U32(f, offset + 8)), 2 * f[entry + 1]);
        has32 = has32 || side == 32;
    }
    EXPECT_TRUE(has32);
}

}  // namespace
