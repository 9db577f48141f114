#include "app/window_region_win.h"

#include <utility>

#include "app/window_region.h"
#include "base/gdi.h"

namespace {

// The region-data block in movable global memory, locked while the walk uses it.
class GlobalBlock : public RegionBlockMemory {
public:
    GlobalBlock() = default;
    ~GlobalBlock()
    {
        if (!handle_) return;
        GlobalUnlock(handle_);
        GlobalFree(handle_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    unsigned char* Resize(size_t bytes) override
    {
        if (!handle_) {
            handle_ = GlobalAlloc(GMEM_MOVEABLE, bytes);
            return handle_ ? static_cast<unsigned char*>(GlobalLock(handle_)) : nullptr;
        }
        GlobalUnlock(handle_);
        HGLOBAL grown = GlobalReAlloc(handle_, bytes, GMEM_MOVEABLE);
        if (grown) handle_ = grown;
        // On failure the old block is still there: lock it again so that it can be handed over.
        unsigned char* block = static_cast<unsigned char*>(GlobalLock(handle_));
        return grown ? block : nullptr;
    }

private:
    HGLOBAL handle_ = nullptr;
};

// Turns each chunk into a region and unites it with the ones before; a chunk the system refuses is dropped.
class RegionUnion : public RegionChunkSink {
public:
    void TakeChunk(const RegionDataHeader* block, size_t bytes) override
    {
        ++chunks_;
        Region part(ExtCreateRegion(nullptr, static_cast<DWORD>(bytes), reinterpret_cast<const RGNDATA*>(block)));
        if (!part) return;
        if (!result_)
            result_ = std::move(part);
        else
            CombineRgn(result_.Get(), result_.Get(), part.Get(), RGN_OR);
    }

    bool TookAny() const { return chunks_ > 0; }

    // The union built; an empty region when there was no rectangle at all.
    HRGN Release()
    {
        if (!result_ && chunks_ == 0) result_.Reset(CreateRectRgn(0, 0, 0, 0));
        return result_.Release();
    }

private:
    Region result_;
    int chunks_ = 0;
};

// A W x H, 32-bit, bottom-up picture whose bits the walk reads directly.
HBITMAP CreateWorkingPicture(int width, int height, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader = DibHeader(width, height, 32);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

HRGN RegionFromPicture(const PixelPicture& pixels, COLORREF key, bool keyIsOutside)
{
    GlobalBlock block;
    RegionUnion result;
    // Without even the first block there is no shape at all, not an empty one: an empty region would make the
    // window invisible, where no region leaves it rectangular.
    if (!CollectRegionChunks(pixels, key, keyIsOutside, block, result) && !result.TookAny()) return nullptr;
    return result.Release();
}

}  // namespace

HRGN CreateBitmapRegion(HBITMAP bitmap, COLORREF key, bool keyIsOutside)
{
    BITMAP source;
    if (!bitmap || !GetObjectA(bitmap, sizeof source, &source)) return nullptr;

    void* bits = nullptr;
    // Declared before the device contexts that select them, so each is deleted after being put back.
    Bitmap working(CreateWorkingPicture(source.bmWidth, source.bmHeight, &bits));
    BITMAP picture;
    if (!working || !GetObjectA(working.Get(), sizeof picture, &picture)) return nullptr;
    MemoryDC pictureDc(nullptr);
    if (!pictureDc) return nullptr;
    SelectedObject pictureSelection(pictureDc.Get(), working.Get());
    MemoryDC sourceDc(pictureDc.Get());
    if (!sourceDc) return nullptr;
    SelectedObject sourceSelection(sourceDc.Get(), bitmap);

    // The copy converts any source format to 32 bits per pixel.
    BitBlt(pictureDc.Get(), 0, 0, source.bmWidth, source.bmHeight, sourceDc.Get(), 0, 0, SRCCOPY);
    GdiFlush();
    size_t stride = (static_cast<size_t>(picture.bmWidthBytes) + 3) & ~static_cast<size_t>(3);
    return RegionFromPicture(
        PixelPicture{static_cast<const unsigned char*>(bits), source.bmWidth, source.bmHeight, stride}, key,
        keyIsOutside);
}
