#include "tools/artwork/bitmap_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>

namespace {

constexpr Colour kWhite{255, 255, 255};

// The three greys that LoadImage(LR_LOADMAP3DCOLORS) replaces by the system's 3-D colours in a bitmap with a
// colour table; a picture must never carry them, or it changes with the desktop scheme.
constexpr Colour kMappedGreys[] = {{128, 128, 128}, {192, 192, 192}, {223, 223, 223}};

Colour AvoidMappedGreys(Colour c)
{
    for (Colour grey : kMappedGreys)
        if (c == grey) return Colour{c.r, c.g, static_cast<uint8_t>(c.b + 1)};
    return c;
}

Colour Flatten(const Pixel& p, Colour matte)
{
    auto channel = [&](double v, uint8_t m) {
        return static_cast<uint8_t>(std::clamp(std::lround(v * p.a + m * (1 - p.a)), 0L, 255L));
    };
    return Colour{channel(p.r, matte.r), channel(p.g, matte.g), channel(p.b, matte.b)};
}

uint32_t Key(Colour c)
{
    return (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
}

struct Weighted {
    Colour colour;
    long count;
};

uint8_t Channel(Colour c, int which)
{
    return which == 0 ? c.r : which == 1 ? c.g : c.b;
}

// Median cut: split the colour box with the widest channel range at its weighted median until there are
// enough boxes; each box becomes the weighted mean of its colours.
std::vector<Colour> MedianCut(std::vector<Weighted> colours, size_t maxColours)
{
    if (colours.size() <= maxColours) {
        std::vector<Colour> all;
        for (const Weighted& w : colours) all.push_back(w.colour);
        return all;
    }
    struct Range {
        size_t begin, end;
    };
    std::vector<Range> boxes{{0, colours.size()}};
    auto widest = [&](Range box, int& channel) {
        int best = -1;
        for (int c = 0; c < 3; ++c) {
            auto [lo, hi] = std::minmax_element(
                colours.begin() + box.begin, colours.begin() + box.end,
                [c](const Weighted& a, const Weighted& b) { return Channel(a.colour, c) < Channel(b.colour, c); });
            int spread = Channel(hi->colour, c) - Channel(lo->colour, c);
            if (spread > best) best = spread, channel = c;
        }
        return best;
    };
    while (boxes.size() < maxColours) {
        int bestSpread = 0, bestChannel = 0;
        size_t bestBox = boxes.size();
        for (size_t i = 0; i < boxes.size(); ++i) {
            int channel = 0;
            int spread = boxes[i].end - boxes[i].begin > 1 ? widest(boxes[i], channel) : 0;
            if (spread > bestSpread) bestSpread = spread, bestChannel = channel, bestBox = i;
        }
        if (bestBox == boxes.size()) break;
        Range box = boxes[bestBox];
        std::sort(colours.begin() + box.begin, colours.begin() + box.end,
                  [c = bestChannel](const Weighted& a, const Weighted& b) {
                      return Channel(a.colour, c) < Channel(b.colour, c);
                  });
        long total = 0, running = 0;
        for (size_t i = box.begin; i < box.end; ++i) total += colours[i].count;
        size_t split = box.begin + 1;
        for (size_t i = box.begin; i < box.end - 1; ++i) {
            running += colours[i].count;
            split = i + 1;
            if (running * 2 >= total) break;
        }
        boxes[bestBox] = Range{box.begin, split};
        boxes.push_back(Range{split, box.end});
    }
    std::vector<Colour> palette;
    for (Range box : boxes) {
        double r = 0, g = 0, b = 0, n = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            r += colours[i].colour.r * double(colours[i].count);
            g += colours[i].colour.g * double(colours[i].count);
            b += colours[i].colour.b * double(colours[i].count);
            n += colours[i].count;
        }
        palette.push_back(
            Colour{uint8_t(std::lround(r / n)), uint8_t(std::lround(g / n)), uint8_t(std::lround(b / n))});
    }
    return palette;
}

struct Indexed {
    int width = 0, height = 0;
    std::vector<Colour> palette;
    std::vector<uint8_t> indices;  // top row first
};

Indexed Reduce(const Canvas& canvas, size_t maxColours, const std::vector<Colour>& exact, Colour matte)
{
    Indexed out;
    out.width = canvas.Width();
    out.height = canvas.Height();
    std::vector<Colour> flat;
    std::map<uint32_t, long> counts;
    auto isExact = [&](Colour c) { return std::find(exact.begin(), exact.end(), c) != exact.end(); };
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            flat.push_back(Flatten(canvas.At(x, y), matte));
            if (!isExact(flat.back())) ++counts[Key(flat.back())];
        }
    std::vector<Weighted> colours;
    for (auto [key, count] : counts)
        colours.push_back(Weighted{Colour{uint8_t(key >> 16), uint8_t(key >> 8), uint8_t(key)}, count});
    out.palette = exact;
    for (Colour c : MedianCut(colours, maxColours - exact.size())) out.palette.push_back(AvoidMappedGreys(c));

    std::map<uint32_t, uint8_t> nearest;
    for (Colour c : flat) {
        auto found = nearest.find(Key(c));
        if (found == nearest.end()) {
            size_t best = 0;
            long bestDistance = -1;
            auto exactAt = std::find(exact.begin(), exact.end(), c);
            if (exactAt != exact.end()) {
                best = exactAt - exact.begin();
            } else {
                for (size_t i = exact.size(); i < out.palette.size(); ++i) {
                    long dr = c.r - out.palette[i].r, dg = c.g - out.palette[i].g, db = c.b - out.palette[i].b;
                    long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                    if (bestDistance < 0 || distance < bestDistance) bestDistance = distance, best = i;
                }
            }
            found = nearest.emplace(Key(c), uint8_t(best)).first;
        }
        out.indices.push_back(found->second);
    }
    return out;
}

class LittleEndianWriter {
public:
    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v) { U8(v & 0xFF), U8(v >> 8); }
    void U32(uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
    void Pad4(size_t rowStart)
    {
        while ((bytes.size() - rowStart) % 4) U8(0);
    }
    std::vector<uint8_t> bytes;
};

int RowBytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

void InfoHeader(LittleEndianWriter& w, int width, int height, int bitsPerPixel, uint32_t imageBytes,
                uint32_t coloursUsed)
{
    w.U32(40);
    w.U32(width);
    w.U32(height);  // positive: rows stored bottom-up
    w.U16(1);
    w.U16(bitsPerPixel);
    w.U32(0);  // BI_RGB
    w.U32(imageBytes);
    w.U32(2835);  // 72 dots per inch
    w.U32(2835);
    w.U32(coloursUsed);
    w.U32(0);
}

void ColourTable(LittleEndianWriter& w, const std::vector<Colour>& palette, size_t entries)
{
    for (size_t i = 0; i < entries; ++i) {
        Colour c = i < palette.size() ? palette[i] : Colour{0, 0, 0};
        w.U8(c.b), w.U8(c.g), w.U8(c.r), w.U8(0);
    }
}

void IndexedRows(LittleEndianWriter& w, const Indexed& image, int bitsPerPixel)
{
    for (int y = image.height - 1; y >= 0; --y) {
        size_t start = w.bytes.size();
        const uint8_t* row = &image.indices[y * image.width];
        if (bitsPerPixel == 8) {
            for (int x = 0; x < image.width; ++x) w.U8(row[x]);
        } else {
            for (int x = 0; x < image.width; x += 2)
                w.U8(uint8_t(row[x] << 4 | (x + 1 < image.width ? row[x + 1] : 0)));
        }
        w.Pad4(start);
    }
}

bool Save(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return bool(file);
}

bool SaveBitmap(const std::string& path, const LittleEndianWriter& body)
{
    // The body starts with the file header's last field, the offset of the pixel bits.
    LittleEndianWriter file;
    file.U8('B'), file.U8('M');
    file.U32(uint32_t(10 + body.bytes.size()));
    file.U16(0), file.U16(0);
    return Save(path, [&] {
        std::vector<uint8_t> all = file.bytes;
        all.insert(all.end(), body.bytes.begin(), body.bytes.end());
        return all;
    }());
}

}  // namespace

bool WriteBitmap24(const std::string& path, const Canvas& canvas)
{
    LittleEndianWriter w;
    int rowBytes = RowBytes(canvas.Width(), 24);
    w.U32(14 + 40);  // offset of the pixel bits (completes the file header)
    InfoHeader(w, canvas.Width(), canvas.Height(), 24, rowBytes * canvas.Height(), 0);
    for (int y = canvas.Height() - 1; y >= 0; --y) {
        size_t start = w.bytes.size();
        for (int x = 0; x < canvas.Width(); ++x) {
            Colour c = Flatten(canvas.At(x, y), kWhite);
            w.U8(c.b), w.U8(c.g), w.U8(c.r);
        }
        w.Pad4(start);
    }
    return SaveBitmap(path, w);
}

bool WriteBitmapIndexed(const std::string& path, const Canvas& canvas, int bitsPerPixel,
                        const std::vector<Colour>& exact)
{
    Indexed image = Reduce(canvas, size_t(1) << bitsPerPixel, exact, kWhite);
    if (bitsPerPixel == 4) image.palette.resize(16, Colour{0, 0, 0});  // a full table suits every loader
    LittleEndianWriter w;
    w.U32(uint32_t(14 + 40 + 4 * image.palette.size()));
    InfoHeader(w, image.width, image.height, bitsPerPixel, RowBytes(image.width, bitsPerPixel) * image.height,
               uint32_t(image.palette.size()));
    ColourTable(w, image.palette, image.palette.size());
    IndexedRows(w, image, bitsPerPixel);
    return SaveBitmap(path, w);
}

namespace {

// Icon and cursor files share one layout; a cursor's directory entry holds its hot spot where an icon's
// holds planes and bit count.
bool WriteIconFile(const std::string& path, const std::vector<const Canvas*>& images, uint16_t type, int hotX, int hotY)
{
    std::vector<LittleEndianWriter> bodies;
    for (const Canvas* canvas : images) {
        // Edge pixels that stay visible are flattened onto a light grey-blue that suits light and dark desktops.
        // Transparent pixels must be black (entry 0) in the colour image: the screen is XORed with them.
        Indexed image = Reduce(*canvas, 256, {Colour{0, 0, 0}}, Colour{200, 208, 224});
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (canvas->At(x, y).a < 0.5) image.indices[y * image.width + x] = 0;
        LittleEndianWriter w;
        InfoHeader(w, image.width, image.height * 2, 8,
                   (RowBytes(image.width, 8) + RowBytes(image.width, 1)) * image.height, 0);
        ColourTable(w, image.palette, 256);
        IndexedRows(w, image, 8);
        for (int y = image.height - 1; y >= 0; --y) {
            size_t start = w.bytes.size();
            for (int x = 0; x < image.width; x += 8) {
                uint8_t bits = 0;
                for (int b = 0; b < 8 && x + b < image.width; ++b)
                    if (canvas->At(x + b, y).a < 0.5) bits |= uint8_t(0x80 >> b);
                w.U8(bits);
            }
            w.Pad4(start);
        }
        bodies.push_back(w);
    }
    LittleEndianWriter file;
    file.U16(0), file.U16(type), file.U16(uint16_t(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.U8(uint8_t(images[i]->Width())), file.U8(uint8_t(images[i]->Height()));
        file.U8(0), file.U8(0);  // 256 colours, reserved
        if (type == 2)
            file.U16(uint16_t(hotX)), file.U16(uint16_t(hotY));
        else
            file.U16(1), file.U16(8);
        file.U32(uint32_t(bodies[i].bytes.size()));
        file.U32(offset);
        offset += uint32_t(bodies[i].bytes.size());
    }
    for (const LittleEndianWriter& body : bodies)
        file.bytes.insert(file.bytes.end(), body.bytes.begin(), body.bytes.end());
    return Save(path, file.bytes);
}

}  // namespace

bool WriteIcon(const std::string& path, const std::vector<const Canvas*>& images)
{
    return WriteIconFile(path, images, 1, 0, 0);
}

bool WriteCursor(const std::string& path, const Canvas& image, int hotX, int hotY)
{
    return WriteIconFile(path, {&image}, 2, hotX, hotY);
}
