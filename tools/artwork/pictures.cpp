#include "tools/artwork/pictures.h"

#include <algorithm>
#include <cmath>

#include "tools/artwork/stroke_font.h"

namespace {

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kHeaderTop{12, 32, 96};
constexpr Colour kHeaderBottom{26, 68, 164};
constexpr Colour kFrame{14, 38, 110};
constexpr Colour kDivider{160, 198, 238};
constexpr Colour kLinkBlue{8, 58, 206};

// Rows of the background, in pixels from the top.
constexpr double kHeaderEnd = 32;
constexpr double kBandEnd = 60;
constexpr double kUpperPanelEnd = 104;
constexpr double kBodyEnd = 278;

Box Inset(Box b, double by)
{
    return Box{b.left + by, b.top + by, b.right - by, b.bottom - by};
}

Shape Everywhere()
{
    return [](double, double) { return true; };
}

// A shield: straight sides down to the middle, then an elliptic curve to a point.
Shape Shield(Box box)
{
    return [box](double x, double y) {
        double half = (box.right - box.left) / 2, centre = box.left + half;
        double shoulder = box.top + (box.bottom - box.top) * 0.42;
        if (y < box.top || y > box.bottom) return false;
        double notch = 0.12 * (box.bottom - box.top) * (1 - std::pow((x - centre) / half, 2));
        if (y < box.top + notch) return false;
        if (y <= shoulder) return std::abs(x - centre) <= half;
        double t = (y - shoulder) / (box.bottom - shoulder);
        return std::abs(x - centre) <= half * std::sqrt(std::max(0.0, 1 - t * t));
    };
}

void DrawShieldBadge(Canvas& canvas, Box box)
{
    double w = box.right - box.left, h = box.bottom - box.top;
    double edge = std::max(1.0, w / 16);
    canvas.Fill(Shield(box), Solid(kFrame), box);
    Box inner = Inset(box, edge);
    canvas.Fill(Shield(inner), VerticalGradient(inner.top, {92, 164, 255}, inner.bottom, {12, 58, 190}), box);
    double pen = std::max(0.9, w / 11);
    Shape tick =
        Union({Capsule(box.left + 0.28 * w, box.top + 0.47 * h, box.left + 0.45 * w, box.top + 0.66 * h, pen),
               Capsule(box.left + 0.45 * w, box.top + 0.66 * h, box.left + 0.74 * w, box.top + 0.30 * h, pen)});
    canvas.Fill(tick, Solid(kWhite), box);
}

TextStyle FitStyle(const std::string& text, double cell, double penRatio, double slant, double maxWidth)
{
    TextStyle style{cell, cell * penRatio, slant};
    while (TextWidth(text, style) > maxWidth && style.cell > 0.8) {
        style.cell *= 0.97;
        style.pen = style.cell * penRatio;
    }
    return style;
}

Paint BackgroundRows()
{
    return [](double x, double y) {
        if (y < kHeaderEnd) return Mix(kHeaderTop, kHeaderBottom, y / kHeaderEnd);
        if (y < kBandEnd) return kBandBlue;
        if (y < kUpperPanelEnd || y >= kBodyEnd) return kPanel;
        (void)x;
        return kWhite;
    };
}

// A rounded button face: the outline, then inside it, `inset` in, a vertical gradient from `top` to `bottom`.
// Returns the inner box.
Box FillFace(Canvas& canvas, const Box& all, double radius, Colour outline, double inset, double innerRadius,
             Colour top, Colour bottom)
{
    canvas.Fill(RoundedRect(Inset(all, 0.5), radius), Solid(outline), all);
    Box inner = Inset(all, inset);
    canvas.Fill(RoundedRect(inner, innerRadius), VerticalGradient(inner.top, top, inner.bottom, bottom), all);
    return inner;
}

}  // namespace

Canvas Background()
{
    Canvas canvas(kBackgroundWidth, kBackgroundHeight);
    Box all = Whole(canvas);
    Shape body = RoundedRect(all, 16);
    canvas.FillHard(Everywhere(), Solid(kKeyMagenta), all);
    canvas.FillHard(body, BackgroundRows(), all);

    // Thin dividers between the strips, and a lighter line on top of the band.
    auto line = [&](double y, Colour colour) {
        canvas.FillHard(Capsule(0, y + 0.5, all.right, y + 0.5, 0.5), Solid(colour), all);
    };
    line(kHeaderEnd, {64, 132, 255});
    line(kBandEnd - 1, {0, 52, 190});
    line(kUpperPanelEnd, kDivider);
    line(kBodyEnd - 1, kDivider);

    // Title: badge, product name and what it is for.
    DrawShieldBadge(canvas, Box{12, 5, 33, 29});
    TextStyle title{2.1, 1.15, 0.0};
    canvas.Fill(TextShape("Vexilor", title, 42, 7), Solid(kWhite), TextBounds("Vexilor", title, 42, 7));
    TextStyle subtitle{1.35, 0.72, 0.0};
    double subtitleLeft = 42 + TextWidth("Vexilor", title) + 10;
    std::string tagline = "Trojan Removal Tool  -  Ver 1.0";
    canvas.Fill(TextShape(tagline, subtitle, subtitleLeft, 13), Solid({168, 200, 255}),
                TextBounds(tagline, subtitle, subtitleLeft, 13));

    // A dark frame just inside the outline; the key colour is put back last so no edge pixel turns pink.
    Shape frame = Minus(body, RoundedRect(Inset(all, 1.6), 14.4));
    canvas.Fill(frame, Solid(kFrame), all);
    canvas.FillHard(Minus(Everywhere(), body), Solid(kKeyMagenta), all);
    return canvas;
}

Canvas GreenButton(const Canvas& background, int x, int y, const std::string& caption, Face face)
{
    Canvas canvas(180, 33);
    canvas.CopyFrom(background, x, y);
    Box all = Whole(canvas);
    bool focus = face == Face::Focus;
    Box inner = FillFace(canvas, all, 10, {18, 104, 30}, 1.6, 9, focus ? Colour{156, 236, 124} : Colour{118, 212, 94},
                         focus ? Colour{50, 172, 58} : Colour{34, 142, 44});
    canvas.Fill(RoundedRect(Box{inner.left + 3, inner.top + 1.5, inner.right - 3, all.bottom / 2}, 7), Solid(kWhite),
                all, 0.22);
    if (focus)
        canvas.Fill(Minus(RoundedRect(inner, 9), RoundedRect(Inset(inner, 1.6), 7.5)), Solid({224, 255, 214}), all);

    bool large = caption.size() <= 6;
    TextStyle style = FitStyle(caption, large ? 2.5 : 1.8, large ? 0.56 : 0.55, 0.2, 156);
    double left = (all.right - TextWidth(caption, style)) / 2, top = (all.bottom - CapHeight(style)) / 2;
    canvas.Fill(TextShape(caption, style, left + 1, top + 1), Solid({10, 70, 20}),
                TextBounds(caption, style, left + 1, top + 1), 0.55);
    canvas.Fill(TextShape(caption, style, left, top), Solid(kWhite), TextBounds(caption, style, left, top));
    return canvas;
}

Canvas LavenderButton(const std::string& caption, Face face)
{
    Canvas canvas(92, 24);
    Box all = Whole(canvas);
    bool focus = face == Face::Focus;
    canvas.FillHard(Everywhere(), Solid(kPanel), all);
    FillFace(canvas, all, 5, focus ? Colour{58, 58, 178} : Colour{146, 136, 204}, focus ? 2.0 : 1.4, 4,
             focus ? Colour{255, 255, 255} : Colour{250, 248, 255},
             focus ? Colour{214, 206, 252} : Colour{202, 194, 240});
    DrawCentredText(canvas, caption, TextStyle{1.55, 0.82, 0}, all, kBlack);
    return canvas;
}

Canvas CloseButton(const Canvas& background, int x, int y, Face face)
{
    Canvas canvas(21, 21);
    canvas.CopyFrom(background, x, y);
    Box all = Whole(canvas);
    bool focus = face == Face::Focus;
    FillFace(canvas, all, 3.5, {140, 36, 8}, 1.5, 2.5, focus ? Colour{255, 168, 110} : Colour{252, 122, 62},
             focus ? Colour{244, 96, 40} : Colour{212, 58, 18});
    Shape cross = Union({Capsule(6.5, 6.5, 14.5, 14.5, 1.5), Capsule(14.5, 6.5, 6.5, 14.5, 1.5)});
    canvas.Fill(cross, Solid(kWhite), all);
    return canvas;
}

Canvas PanelPatch(int width, int height)
{
    Canvas canvas(width, height);
    canvas.FillHard(Everywhere(), Solid(kPanel), Whole(canvas));
    return canvas;
}

Canvas TextLink(int width, int height, Colour background, const std::string& line1, const std::string& line2, Face face)
{
    Canvas canvas(width, height);
    Box all = Whole(canvas);
    canvas.FillHard(Everywhere(), Solid(background), all);
    std::string longer = line1.size() > line2.size() ? line1 : line2;
    TextStyle style = FitStyle(longer, 1.6, 0.52, 0, width - 10);
    double lineHeight = CapHeight(style) + 3 * style.cell + 2;
    int lines = line2.empty() ? 1 : 2;
    double top = (height - (lines * lineHeight - 3 * style.cell - 2)) / 2 - 1;
    for (const std::string& text : {line1, line2}) {
        if (text.empty()) continue;
        double left = (width - TextWidth(text, style)) / 2;
        canvas.Fill(TextShape(text, style, left, top), Solid(kLinkBlue), TextBounds(text, style, left, top));
        if (face == Face::Focus) {
            double underline = std::floor(top + CapHeight(style) + 1.5 * style.cell) + 0.5;
            canvas.Fill(Capsule(left, underline, left + TextWidth(text, style), underline, 0.5), Solid(kLinkBlue), all);
        }
        top += lineHeight;
    }
    return canvas;
}

Canvas MakerLogo()
{
    Canvas canvas(100, 36);
    Box all = Whole(canvas);
    canvas.FillHard(Everywhere(), Solid(kPanel), all);
    canvas.Fill(Disc(17, 18, 14.5), Solid(kFrame), all);
    canvas.Fill(Disc(17, 18, 13), VerticalGradient(5, {70, 150, 255}, 31, {10, 52, 176}), all);
    canvas.Fill(Union({Capsule(10, 11.5, 24, 11.5, 2), Capsule(17, 11.5, 17, 26, 2)}), Solid(kWhite), all);
    TextStyle name{1.22, 0.72, 0};
    canvas.Fill(TextShape("TARNWICK", name, 36, 9), Solid(kFrame), TextBounds("TARNWICK", name, 36, 9));
    TextStyle small{0.95, 0.5, 0};
    double left = 36 + (TextWidth("TARNWICK", name) - TextWidth("SECURITY", small)) / 2;
    canvas.Fill(TextShape("SECURITY", small, left, 22), Solid({40, 110, 230}), TextBounds("SECURITY", small, left, 22));
    return canvas;
}

Canvas MessageBoxIcon(MessageIcon icon)
{
    Canvas canvas(42, 40);
    Box all = Whole(canvas);
    canvas.FillHard(Everywhere(), Solid(kPanel), all);
    const Colour ink{22, 76, 200};
    switch (icon) {
    case MessageIcon::Information:
    case MessageIcon::Question: {
        Shape outer = Union({Ellipse(21, 17, 19, 15), Polygon({{9, 25}, {6, 38}, {20, 30}})});
        Shape inner = Union({Ellipse(21, 17, 17.4, 13.4), Polygon({{10.5, 26}, {8.6, 34.6}, {18, 29}})});
        canvas.Fill(outer, Solid(ink), all);
        canvas.Fill(inner, VerticalGradient(3, kWhite, 31, {222, 236, 255}), all);
        if (icon == MessageIcon::Information) {
            canvas.Fill(Union({Disc(21, 8.5, 2.4), Capsule(21, 14, 21, 25, 2.2)}), Solid(ink), all);
        } else {
            DrawCentredText(canvas, "?", TextStyle{2.6, 1.35, 0}, Box{0, 2, 42, 32}, ink);
        }
        break;
    }
    case MessageIcon::Warning: {
        canvas.Fill(Polygon({{21, 1}, {41, 38}, {1, 38}}), Solid({150, 104, 0}), all);
        canvas.Fill(Polygon({{21, 4.5}, {38.2, 36.4}, {3.8, 36.4}}),
                    VerticalGradient(4, {255, 236, 84}, 36, {246, 186, 0}), all);
        canvas.Fill(Union({Capsule(21, 14, 21, 26, 2.2), Disc(21, 31.5, 2.3)}), Solid(kBlack), all);
        break;
    }
    case MessageIcon::Error: {
        canvas.Fill(Disc(21, 20, 18.5), Solid({130, 10, 10}), all);
        canvas.Fill(Disc(21, 20, 17), VerticalGradient(3, {250, 96, 84}, 37, {190, 22, 22}), all);
        canvas.Fill(Union({Capsule(14, 13, 28, 27, 2.6), Capsule(28, 13, 14, 27, 2.6)}), Solid(kWhite), all);
        break;
    }
    }
    return canvas;
}

Canvas WindowIcon(int size)
{
    Canvas canvas(size, size);
    double margin = size / 16.0;
    DrawShieldBadge(canvas, Box{margin * 2, margin, size - margin * 2, size - margin});
    return canvas;
}

Canvas HandCursor()
{
    // The hand as capsules of a given thickness: the outline is the same hand drawn thicker underneath.
    auto hand = [](double grow) {
        return Union({Capsule(10.5, 3.0, 10.5, 17.0, 2.0 + grow),   // pointing finger
                      Capsule(14.5, 11.0, 14.5, 18.0, 2.0 + grow),  // folded fingers
                      Capsule(18.5, 12.0, 18.5, 19.0, 2.0 + grow), Capsule(22.5, 13.0, 22.5, 20.0, 2.0 + grow),
                      Capsule(5.0, 17.0, 8.5, 22.0, 1.8 + grow),  // thumb
                      RoundedRect(Box{8.5 - grow, 15.0 - grow, 24.5 + grow, 28.0 + grow}, 4.0 + grow)});
    };
    Canvas canvas(32, 32);
    Box all{0, 0, 32, 32};
    canvas.FillHard(hand(1.0), Solid(Colour{0, 0, 0}), all);
    canvas.FillHard(hand(0.0), Solid(Colour{255, 255, 255}), all);
    return canvas;
}
