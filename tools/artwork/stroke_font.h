// A small built-in font: 5 x 7 dot glyphs (with two rows for descenders) that are drawn as a pen following the
// dots, so that the same glyphs give smooth, anti-aliased captions at any size.
#pragma once

#include <string>

#include "tools/artwork/canvas.h"

struct TextStyle {
    double cell;   // distance between neighbouring dots, in pixels
    double pen;    // pen radius, in pixels
    double slant;  // horizontal shift per pixel of height above the baseline (0 upright, ~0.2 italic)
};

// Width of the text in pixels, from the left edge of the first stroke to the right edge of the last.
double TextWidth(const std::string& text, const TextStyle& style);
// Height of capital letters in pixels, pen included.
double CapHeight(const TextStyle& style);

// The text as a shape whose capital letters' top-left pen edge sits at (left, top).
Shape TextShape(const std::string& text, const TextStyle& style, double left, double top);
// Bounds of that shape, generous enough for slant and descenders.
Box TextBounds(const std::string& text, const TextStyle& style, double left, double top);

// Draws the text centred in the box (vertically by its capital letters).
void DrawCentredText(Canvas& canvas, const std::string& text, const TextStyle& style, Box box, Colour colour);
