// A floating-point RGBA canvas with anti-aliased shape filling: every picture of the program is composed here
// before it is reduced to the colour depth its resource needs.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Colour {
    uint8_t r, g, b;
};

inline bool operator==(Colour a, Colour b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

struct Pixel {
    double r, g, b, a;  // straight (not premultiplied) colour, 0..255; alpha 0..1
};

// Inside test of a shape at a point in pixel coordinates (pixel x spans x..x+1).
using Shape = std::function<bool(double x, double y)>;
// Colour of a paint at a point.
using Paint = std::function<Colour(double x, double y)>;

struct Box {
    double left, top, right, bottom;
};

class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    const Pixel& At(int x, int y) const { return pixels_[y * width_ + x]; }
    Colour ColourAt(int x, int y) const;

    // Fills the shape with the paint inside `bounds`, sampling each pixel 4 x 4 times for smooth edges.
    void Fill(const Shape& shape, const Paint& paint, Box bounds, double opacity = 1.0);
    // Fills without smoothing: a pixel belongs to the shape when its centre does.
    void FillHard(const Shape& shape, const Paint& paint, Box bounds);
    // Copies a region of another canvas to the top-left corner of this one.
    void CopyFrom(const Canvas& source, int sourceX, int sourceY);

private:
    void Blend(int x, int y, Colour colour, double alpha);

    int width_, height_;
    std::vector<Pixel> pixels_;
};

Paint Solid(Colour colour);
Paint VerticalGradient(double top, Colour topColour, double bottom, Colour bottomColour);
Colour Mix(Colour a, Colour b, double t);

Shape RoundedRect(Box box, double radius);
Shape Disc(double cx, double cy, double radius);
Shape Ellipse(double cx, double cy, double rx, double ry);
Shape Capsule(double ax, double ay, double bx, double by, double radius);
Shape Polygon(std::vector<std::pair<double, double>> points);
Shape Union(std::vector<Shape> parts);
Shape Minus(Shape kept, Shape removed);
Box Whole(const Canvas& canvas);
