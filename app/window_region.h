// The pixel walk behind the main window's shape: one-pixel-high runs of inside pixels of a 32-bit picture,
// collected in the system's region-data layout and handed over in chunks that the caller turns into regions.
#pragma once

#include <cstddef>
#include <cstdint>

// The system's region-data layout (RGNDATA): a 32-byte header followed by the rectangles.
struct RegionRect {
    int32_t left, top, right, bottom;
};

struct RegionDataHeader {
    uint32_t size;  // always 32
    uint32_t type;  // always 1, rectangles
    uint32_t count;
    uint32_t regionSize;  // always 0
    RegionRect bounds;
};
static_assert(sizeof(RegionDataHeader) == 32, "header layout of RGNDATAHEADER");
static_assert(sizeof(RegionRect) == 16, "rectangle layout of RECT");

constexpr uint32_t kRegionBlockStep = 100;    // the block starts with room for this many and grows by as many
constexpr uint32_t kRegionChunkRects = 2000;  // no single region request holds more

// Storage of the region-data block. Resize returns the block with room for `bytes`, its old contents kept, or
// null when it cannot; the block it returned before then stays valid and unchanged. Called first for 100
// rectangles; the owner frees the block.
class RegionBlockMemory {
public:
    virtual unsigned char* Resize(size_t bytes) = 0;

protected:
    ~RegionBlockMemory() = default;
};

// Receives each full chunk (2,000 rectangles) and the rest at the end. `bytes` is the header plus the block's
// whole capacity; only `block->count` rectangles are filled.
class RegionChunkSink {
public:
    virtual void TakeChunk(const RegionDataHeader* block, size_t bytes) = 0;

protected:
    ~RegionChunkSink() = default;
};

// A 32-bit picture as the system stores it: rows bottom-up, `stride` bytes apart, each pixel stored as blue,
// green, red and an unused byte.
struct PixelPicture {
    const unsigned char* bits;
    int width;
    int height;
    size_t stride;
};

// Walks the picture from the top image row down and hands the runs to `sink`. `key` is a colour value with red
// in the low byte (0x00BBGGRR); with `keyIsOutside` key pixels are left out, otherwise only they count. Returns
// false when the block could not be made or could not grow: the rectangles collected until then have still been
// handed over, so the caller gets the region built so far.
bool CollectRegionChunks(const PixelPicture& picture, uint32_t key, bool keyIsOutside, RegionBlockMemory& memory,
                         RegionChunkSink& sink);
