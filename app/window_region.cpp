#include "app/window_region.h"

#include <cstring>

namespace {

constexpr int32_t kNoBound = 0x7FFFFFFF;

// The growable block: header, then `capacity` rectangles. It is never written past its capacity.
class RegionBlock {
public:
    RegionBlock(RegionBlockMemory& memory, RegionChunkSink& sink) : memory_(memory), sink_(sink) {}

    bool Start()
    {
        block_ = memory_.Resize(BytesFor(kRegionBlockStep));
        if (!block_) return false;
        capacity_ = kRegionBlockStep;
        Header() = RegionDataHeader{sizeof(RegionDataHeader), 1, 0, 0, {}};
        ResetBounds();
        return true;
    }

    // False when the block is full and cannot grow; the caller then stops and hands over what it has.
    bool Add(const RegionRect& rect)
    {
        if (Header().count == capacity_ && !Grow()) return false;
        RegionDataHeader& header = Header();  // growing may have moved the block
        std::memcpy(block_ + BytesFor(header.count), &rect, sizeof rect);
        Widen(header.bounds, rect);
        if (++header.count == kRegionChunkRects) Flush();
        return true;
    }

    void Flush()
    {
        if (Header().count == 0) return;
        sink_.TakeChunk(&Header(), BytesFor(capacity_));
        Header().count = 0;
        ResetBounds();
    }

private:
    static size_t BytesFor(uint32_t rects) { return sizeof(RegionDataHeader) + rects * sizeof(RegionRect); }

    RegionDataHeader& Header() { return *reinterpret_cast<RegionDataHeader*>(block_); }

    void ResetBounds() { Header().bounds = RegionRect{kNoBound, kNoBound, 0, 0}; }

    bool Grow()
    {
        unsigned char* grown = memory_.Resize(BytesFor(capacity_ + kRegionBlockStep));
        if (!grown) return false;
        block_ = grown;
        capacity_ += kRegionBlockStep;
        return true;
    }

    static void Widen(RegionRect& bounds, const RegionRect& rect)
    {
        if (rect.left < bounds.left) bounds.left = rect.left;
        if (rect.top < bounds.top) bounds.top = rect.top;
        if (rect.right > bounds.right) bounds.right = rect.right;
        if (rect.bottom > bounds.bottom) bounds.bottom = rect.bottom;
    }

    RegionBlockMemory& memory_;
    RegionChunkSink& sink_;
    unsigned char* block_ = nullptr;
    uint32_t capacity_ = 0;
};

// Stored pixels are blue, green, red; the key colour value has red in its low byte.
bool IsKeyPixel(const unsigned char* pixel, uint32_t key)
{
    return pixel[0] == ((key >> 16) & 0xFF) && pixel[1] == ((key >> 8) & 0xFF) && pixel[2] == (key & 0xFF);
}

}  // namespace

bool CollectRegionChunks(const PixelPicture& picture, uint32_t key, bool keyIsOutside, RegionBlockMemory& memory,
                         RegionChunkSink& sink)
{
    RegionBlock block(memory, sink);
    if (!block.Start()) return false;
    for (int y = 0; y < picture.height; ++y) {
        // Rows are stored bottom-up: the top image row is the last stored row.
        const unsigned char* row = picture.bits + static_cast<size_t>(picture.height - 1 - y) * picture.stride;
        int x = 0;
        while (x < picture.width) {
            int start = x;
            while (x < picture.width && IsKeyPixel(row + 4 * x, key) != keyIsOutside) ++x;
            if (x > start && !block.Add(RegionRect{start, y, x, y + 1})) {
                block.Flush();
                return false;
            }
            ++x;  // the pixel that ended the run is outside
        }
    }
    block.Flush();
    return true;
}
