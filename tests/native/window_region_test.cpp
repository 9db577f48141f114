#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/window_region.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

// A block that refuses to grow beyond `limitRects` and keeps a guard area behind whatever size it handed out,
// so any write past the capacity shows.
class GuardedMemory : public RegionBlockMemory {
public:
    explicit GuardedMemory(uint32_t limitRects = 1000000) : limitRects_(limitRects) {}

    unsigned char* Resize(size_t bytes) override
    {
        if (bytes > sizeof(RegionDataHeader) + limitRects_ * sizeof(RegionRect)) return nullptr;
        EXPECT_TRUE(GuardIntact());
        std::vector<unsigned char> grown(bytes + kGuard, kGuardByte);
        if (!block_.empty()) std::memcpy(grown.data(), block_.data(), block_.size() - kGuard);
        block_.swap(grown);
        ++resizes_;
        return block_.data();
    }

    bool GuardIntact() const
    {
        for (size_t i = block_.size() < kGuard ? 0 : block_.size() - kGuard; i < block_.size(); ++i)
            if (block_[i] != kGuardByte) return false;
        return true;
    }

    int resizes() const { return resizes_; }

private:
    static constexpr size_t kGuard = 64;
    static constexpr unsigned char kGuardByte = 0xA5;
    uint32_t limitRects_;
    std::vector<unsigned char> block_;
    int resizes_ = 0;
};

struct Chunk {
    RegionDataHeader header;
    size_t bytes;
    std::vector<RegionRect> rects;
};

class RecordingSink : public RegionChunkSink {
public:
    void TakeChunk(const RegionDataHeader* block, size_t bytes) override
    {
        const RegionRect* first = reinterpret_cast<const RegionRect*>(block + 1);
        chunks.push_back(Chunk{*block, bytes, std::vector<RegionRect>(first, first + block->count)});
    }

    std::vector<RegionRect> AllRects() const
    {
        std::vector<RegionRect> all;
        for (const Chunk& c : chunks) all.insert(all.end(), c.rects.begin(), c.rects.end());
        return all;
    }

    std::vector<Chunk> chunks;
};

// A 32-bit bottom-up picture built from top-down rows of colour values (0x00BBGGRR).
class Picture {
public:
    Picture(int width, int height) : width_(width), height_(height), bits_(static_cast<size_t>(width) * height * 4) {}

    void Set(int x, int y, uint32_t colour)
    {
        unsigned char* pixel = &bits_[(static_cast<size_t>(height_ - 1 - y) * width_ + x) * 4];
        pixel[0] = (colour >> 16) & 0xFF;  // blue
        pixel[1] = (colour >> 8) & 0xFF;
        pixel[2] = colour & 0xFF;  // red
        pixel[3] = 0x5A;           // never compared
    }

    void Fill(uint32_t colour)
    {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) Set(x, y, colour);
    }

    PixelPicture View() const { return PixelPicture{bits_.data(), width_, height_, static_cast<size_t>(width_) * 4}; }

private:
    int width_, height_;
    std::vector<unsigned char> bits_;
};

bool SameRect(const RegionRect& a, const RegionRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(WindowRegion, AllKeyPixelsGiveNoRectangle)
{
    Picture picture(7, 5);
    picture.Fill(kMagenta);
    GuardedMemory memory;
    RecordingSink sink;
    EXPECT_TRUE(CollectRegionChunks(picture.View(), kMagenta, true, memory, sink));
    EXPECT_TRUE(sink.chunks.empty());
}

TEST(WindowRegion, NoKeyPixelGivesOneFullWidthRectanglePerRowInRowOrder)
{
    Picture picture(9, 4);
    picture.Fill(0x123456);
    GuardedMemory memory;
    RecordingSink sink;
    ASSERT_TRUE(CollectRegionChunks(picture.View(), kMagenta, true, memory, sink));
    ASSERT_EQ(1u, sink.chunks.size());
    const Chunk& chunk = sink.chunks[0];
    EXPECT_EQ(32u, chunk.header.size);
    EXPECT_EQ(1u, chunk.header.type);
    EXPECT_EQ(0u, chunk.header.regionSize);
    EXPECT_EQ(32u + 100 * 16, chunk.bytes);
    EXPECT_TRUE(SameRect(RegionRect{0, 0, 9, 4}, chunk.header.bounds));
    ASSERT_EQ(4u, chunk.rects.size());
    for (int y = 0; y < 4; ++y) EXPECT_TRUE(SameRect(RegionRect{0, y, 9, y + 1}, chunk.rects[y])) << "row " << y;
}

TEST(WindowRegion, RunsEndAtKeyPixelsAndTheOppositeFlagKeepsOnlyKeyPixels)
{
    // Top row: inside 0-1, key 2, inside 3-5, key 6. The stored picture is bottom-up; the walk is top-down.
    Picture picture(7, 2);
    picture.Fill(kMagenta);
    for (int x : {0, 1, 3, 4, 5}) picture.Set(x, 0, 0x000000);
    GuardedMemory memory;
    RecordingSink inside;
    ASSERT_TRUE(CollectRegionChunks(picture.View(), kMagenta, true, memory, inside));
    std::vector<RegionRect> rects = inside.AllRects();
    ASSERT_EQ(2u, rects.size());
    EXPECT_TRUE(SameRect(RegionRect{0, 0, 2, 1}, rects[0]));
    EXPECT_TRUE(SameRect(RegionRect{3, 0, 6, 1}, rects[1]));

    GuardedMemory memory2;
    RecordingSink keys;
    ASSERT_TRUE(CollectRegionChunks(picture.View(), kMagenta, false, memory2, keys));
    rects = keys.AllRects();
    ASSERT_EQ(3u, rects.size());
    EXPECT_TRUE(SameRect(RegionRect{2, 0, 3, 1}, rects[0]));
    EXPECT_TRUE(SameRect(RegionRect{6, 0, 7, 1}, rects[1]));
    EXPECT_TRUE(SameRect(RegionRect{0, 1, 7, 2}, rects[2]));
}

// The key colour value has red in its low byte: a red key removes red pixels, not blue ones.
TEST(WindowRegion, KeyColourMatchesRedGreenBlueNotSwapped)
{
    Picture picture(2, 1);
    picture.Set(0, 0, 0x0000FF);  // red
    picture.Set(1, 0, 0xFF0000);  // blue
    GuardedMemory memory;
    RecordingSink sink;
    ASSERT_TRUE(CollectRegionChunks(picture.View(), 0x0000FF, true, memory, sink));
    std::vector<RegionRect> rects = sink.AllRects();
    ASSERT_EQ(1u, rects.size());
    EXPECT_TRUE(SameRect(RegionRect{1, 0, 2, 1}, rects[0]));
}

TEST(WindowRegion, AlternatingPixelsFlushEvery2000RectanglesAndGrowBy100)
{
    const int width = 100, height = 50;  // 50 inside pixels a row: 2,500 rectangles
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.Set(x, y, x % 2 ? kMagenta : 0xFFFFFF);
    GuardedMemory memory;
    RecordingSink sink;
    ASSERT_TRUE(CollectRegionChunks(picture.View(), kMagenta, true, memory, sink));
    EXPECT_TRUE(memory.GuardIntact());
    EXPECT_EQ(20, memory.resizes());  // 100, 200, ... 2,000: the block is reused after a flush

    ASSERT_EQ(2u, sink.chunks.size());
    EXPECT_EQ(2000u, sink.chunks[0].header.count);
    EXPECT_EQ(500u, sink.chunks[1].header.count);
    EXPECT_EQ(32u + 2000 * 16, sink.chunks[1].bytes);
    EXPECT_TRUE(SameRect(RegionRect{0, 0, 99, 40}, sink.chunks[0].header.bounds));
    EXPECT_TRUE(SameRect(RegionRect{0, 40, 99, 50}, sink.chunks[1].header.bounds));

    std::vector<RegionRect> rects = sink.AllRects();
    ASSERT_EQ(2500u, rects.size());
    for (size_t i = 0; i < rects.size(); ++i) {
        int x = static_cast<int>(i % 50) * 2, y = static_cast<int>(i / 50);
        ASSERT_TRUE(SameRect(RegionRect{x, y, x + 1, y + 1}, rects[i])) << "rectangle " << i;
    }
}

TEST(WindowRegion, BlockThatCannotGrowHandsOverWhatItHas)
{
    Picture picture(20, 30);  // 10 inside pixels a row: 300 rectangles
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 20; ++x) picture.Set(x, y, x % 2 ? kMagenta : 0x000000);
    GuardedMemory memory(200);
    RecordingSink sink;
    EXPECT_FALSE(CollectRegionChunks(picture.View(), kMagenta, true, memory, sink));
    EXPECT_TRUE(memory.GuardIntact());
    ASSERT_EQ(1u, sink.chunks.size());
    EXPECT_EQ(200u, sink.chunks[0].header.count);
    EXPECT_TRUE(SameRect(RegionRect{18, 19, 19, 20}, sink.chunks[0].rects.back()));
}

TEST(WindowRegion, NoBlockNoChunks)
{
    Picture picture(3, 3);
    GuardedMemory memory(0);
    RecordingSink sink;
    EXPECT_FALSE(CollectRegionChunks(picture.View(), kMagenta, true, memory, sink));
    EXPECT_TRUE(sink.chunks.empty());
}
