#include "tools/artwork/canvas.h"

#include <algorithm>
#include <cmath>

Canvas::Canvas(int width, int height) : width_(width), height_(height), pixels_(width * height, Pixel{0, 0, 0, 0}) {}

Colour Canvas::ColourAt(int x, int y) const
{
    const Pixel& p = At(x, y);
    auto channel = [](double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); };
    return Colour{channel(p.r), channel(p.g), channel(p.b)};
}

void Canvas::Blend(int x, int y, Colour colour, double alpha)
{
    if (alpha <= 0) return;
    Pixel& d = pixels_[y * width_ + x];
    double outAlpha = alpha + d.a * (1 - alpha);
    auto over = [&](double source, double destination) {
        return (source * alpha + destination * d.a * (1 - alpha)) / outAlpha;
    };
    d = Pixel{over(colour.r, d.r), over(colour.g, d.g), over(colour.b, d.b), outAlpha};
}

namespace {

struct PixelSpan {
    int x0, y0, x1, y1;
};

PixelSpan Clip(Box bounds, int width, int height)
{
    return PixelSpan{std::max(0, static_cast<int>(std::floor(bounds.left))),
                     std::max(0, static_cast<int>(std::floor(bounds.top))),
                     std::min(width, static_cast<int>(std::ceil(bounds.right))),
                     std::min(height, static_cast<int>(std::ceil(bounds.bottom)))};
}

}  // namespace

void Canvas::Fill(const Shape& shape, const Paint& paint, Box bounds, double opacity)
{
    constexpr int kSamples = 4;
    PixelSpan span = Clip(bounds, width_, height_);
    for (int y = span.y0; y < span.y1; ++y) {
        for (int x = span.x0; x < span.x1; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    inside += shape(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples) ? 1 : 0;
            if (inside > 0) Blend(x, y, paint(x + 0.5, y + 0.5), opacity * inside / (kSamples * kSamples));
        }
    }
}

void Canvas::FillHard(const Shape& shape, const Paint& paint, Box bounds)
{
    PixelSpan span = Clip(bounds, width_, height_);
    for (int y = span.y0; y < span.y1; ++y)
        for (int x = span.x0; x < span.x1; ++x)
            if (shape(x + 0.5, y + 0.5))
                pixels_[y * width_ + x] = [&] {
                    Colour c = paint(x + 0.5, y + 0.5);
                    return Pixel{double(c.r), double(c.g), double(c.b), 1.0};
                }();
}

void Canvas::CopyFrom(const Canvas& source, int sourceX, int sourceY)
{
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            int sx = std::clamp(sourceX + x, 0, source.Width() - 1);
            int sy = std::clamp(sourceY + y, 0, source.Height() - 1);
            pixels_[y * width_ + x] = source.At(sx, sy);
        }
}

Colour Mix(Colour a, Colour b, double t)
{
    auto lerp = [t](uint8_t u, uint8_t v) { return static_cast<uint8_t>(std::lround(u + (v - u) * t)); };
    return Colour{lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

Paint Solid(Colour colour)
{
    return [colour](double, double) { return colour; };
}

Paint VerticalGradient(double top, Colour topColour, double bottom, Colour bottomColour)
{
    return [=](double, double y) {
        return Mix(topColour, bottomColour, std::clamp((y - top) / (bottom - top), 0.0, 1.0));
    };
}

Shape RoundedRect(Box box, double radius)
{
    return [=](double x, double y) {
        if (x < box.left || x > box.right || y < box.top || y > box.bottom) return false;
        double cx = std::clamp(x, box.left + radius, box.right - radius);
        double cy = std::clamp(y, box.top + radius, box.bottom - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

Shape Disc(double cx, double cy, double radius)
{
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

Shape Ellipse(double cx, double cy, double rx, double ry)
{
    return [=](double x, double y) {
        double u = (x - cx) / rx, v = (y - cy) / ry;
        return u * u + v * v <= 1;
    };
}

Shape Capsule(double ax, double ay, double bx, double by, double radius)
{
    return [=](double x, double y) {
        double dx = bx - ax, dy = by - ay;
        double lengthSquared = dx * dx + dy * dy;
        double t = lengthSquared > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / lengthSquared, 0.0, 1.0) : 0;
        double px = ax + t * dx - x, py = ay + t * dy - y;
        return px * px + py * py <= radius * radius;
    };
}

Shape Polygon(std::vector<std::pair<double, double>> points)
{
    return [points](double x, double y) {
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            auto [xi, yi] = points[i];
            auto [xj, yj] = points[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside;
    };
}

Shape Union(std::vector<Shape> parts)
{
    return [parts](double x, double y) {
        for (const Shape& part : parts)
            if (part(x, y)) return true;
        return false;
    };
}

Shape Minus(Shape kept, Shape removed)
{
    return [=](double x, double y) { return kept(x, y) && !removed(x, y); };
}

Box Whole(const Canvas& canvas)
{
    return Box{0, 0, double(canvas.Width()), double(canvas.Height())};
}
