#include "tools/artwork/stroke_font.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Rows from the top, '|' between rows; rows 0-6 hold capitals, 7-8 descenders. A glyph is as wide as its rows.
struct Glyph {
    char character;
    const char* rows;
};

const Glyph kGlyphs[] = {
    {'A', ".###.|#...#|#...#|#####|#...#|#...#|#...#"},
    {'B', "####.|#...#|#...#|####.|#...#|#...#|####."},
    {'C', ".###.|#...#|#....|#....|#....|#...#|.###."},
    {'D', "####.|#...#|#...#|#...#|#...#|#...#|####."},
    {'E', "#####|#....|#....|####.|#....|#....|#####"},
    {'F', "#####|#....|#....|####.|#....|#....|#...."},
    {'G', ".###.|#...#|#....|#.###|#...#|#...#|.###."},
    {'H', "#...#|#...#|#...#|#####|#...#|#...#|#...#"},
    {'I', "###|.#.|.#.|.#.|.#.|.#.|###"},
    {'J', "..###|...#.|...#.|...#.|...#.|#..#.|.##.."},
    {'K', "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#"},
    {'L', "#....|#....|#....|#....|#....|#....|#####"},
    {'M', "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#"},
    {'N', "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#"},
    {'O', ".###.|#...#|#...#|#...#|#...#|#...#|.###."},
    {'P', "####.|#...#|#...#|####.|#....|#....|#...."},
    {'Q', ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#"},
    {'R', "####.|#...#|#...#|####.|#.#..|#..#.|#...#"},
    {'S', ".####|#....|#....|.###.|....#|....#|####."},
    {'T', "#####|..#..|..#..|..#..|..#..|..#..|..#.."},
    {'U', "#...#|#...#|#...#|#...#|#...#|#...#|.###."},
    {'V', "#...#|#...#|#...#|#...#|#...#|.#.#.|..#.."},
    {'W', "#...#|#...#|#...#|#.#.#|#.#.#|#.#.#|.#.#."},
    {'X', "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#"},
    {'Y', "#...#|#...#|.#.#.|..#..|..#..|..#..|..#.."},
    {'Z', "#####|....#|...#.|..#..|.#...|#....|#####"},
    {'a', ".....|.....|.###.|....#|.####|#...#|.####"},
    {'b', "#....|#....|#.##.|##..#|#...#|#...#|####."},
    {'c', ".....|.....|.###.|#....|#....|#...#|.###."},
    {'d', "....#|....#|.##.#|#..##|#...#|#...#|.####"},
    {'e', ".....|.....|.###.|#...#|#####|#....|.###."},
    {'f', "..##|.#..|.#..|###.|.#..|.#..|.#.."},
    {'g', ".....|.....|.####|#...#|#...#|#...#|.####|....#|.###."},
    {'h', "#....|#....|#.##.|##..#|#...#|#...#|#...#"},
    {'i', "#|.|#|#|#|#|#"},
    {'j', "..#|...|..#|..#|..#|..#|..#|#.#|.#."},
    {'k', "#...|#...|#..#|#.#.|##..|#.#.|#..#"},
    {'l', "#|#|#|#|#|#|#"},
    {'m', ".....|.....|##.#.|#.#.#|#.#.#|#.#.#|#.#.#"},
    {'n', ".....|.....|#.##.|##..#|#...#|#...#|#...#"},
    {'o', ".....|.....|.###.|#...#|#...#|#...#|.###."},
    {'p', ".....|.....|####.|#...#|#...#|#...#|####.|#....|#...."},
    {'q', ".....|.....|.####|#...#|#...#|#...#|.####|....#|....#"},
    {'r', "....|....|#.##|##..|#...|#...|#..."},
    {'s', ".....|.....|.####|#....|.###.|....#|####."},
    {'t', ".#..|.#..|###.|.#..|.#..|.#.#|..#."},
    {'u', ".....|.....|#...#|#...#|#...#|#..##|.##.#"},
    {'v', ".....|.....|#...#|#...#|#...#|.#.#.|..#.."},
    {'w', ".....|.....|#...#|#...#|#.#.#|#.#.#|.#.#."},
    {'x', ".....|.....|#...#|.#.#.|..#..|.#.#.|#...#"},
    {'y', ".....|.....|#...#|#...#|#...#|#...#|.####|....#|.###."},
    {'z', ".....|.....|#####|...#.|..#..|.#...|#####"},
    {'0', ".###.|#...#|#..##|#.#.#|##..#|#...#|.###."},
    {'1', ".#.|##.|.#.|.#.|.#.|.#.|###"},
    {'2', ".###.|#...#|....#|...#.|..#..|.#...|#####"},
    {'3', "#####|...#.|..#..|...#.|....#|#...#|.###."},
    {'4', "...#.|..##.|.#.#.|#..#.|#####|...#.|...#."},
    {'5', "#####|#....|####.|....#|....#|#...#|.###."},
    {'6', "..##.|.#...|#....|####.|#...#|#...#|.###."},
    {'7', "#####|....#|...#.|..#..|.#...|.#...|.#..."},
    {'8', ".###.|#...#|#...#|.###.|#...#|#...#|.###."},
    {'9', ".###.|#...#|#...#|.####|....#|...#.|.##.."},
    {'.', ".|.|.|.|.|.|#"},
    {',', "..|..|..|..|..|.#|.#|#."},
    {'-', "...|...|...|###|...|...|..."},
    {'!', "#|#|#|#|#|.|#"},
    {'?', ".###.|#...#|....#|...#.|..#..|.....|..#.."},
    {'/', "....#|....#|...#.|..#..|.#...|#....|#...."},
    {':', ".|.|#|.|.|#|."},
    {'\'', "#|#|.|.|.|.|."},
    {'(', "..#|.#.|#..|#..|#..|.#.|..#"},
    {')', "#..|.#.|..#|..#|..#|.#.|#.."},
};

constexpr int kSpaceWidth = 3;  // in cells, between words

const Glyph* FindGlyph(char c)
{
    for (const Glyph& g : kGlyphs)
        if (g.character == c) return &g;
    return nullptr;
}

int GlyphWidth(const Glyph& g)
{
    return static_cast<int>(std::strcspn(g.rows, "|"));
}

bool Dot(const Glyph& g, int column, int row)
{
    int width = GlyphWidth(g);
    if (column < 0 || column >= width || row < 0) return false;
    const char* p = g.rows;
    for (int r = 0; r < row; ++r) {
        p = std::strchr(p, '|');
        if (!p) return false;
        ++p;
    }
    return p[column] == '#';
}

// Total width in cells from the first dot column to the last.
int TextCells(const std::string& text)
{
    int cells = 0;
    for (char c : text) {
        const Glyph* g = FindGlyph(c);
        cells += g ? GlyphWidth(*g) + 1 : kSpaceWidth + 1;
    }
    return std::max(0, cells - 2);  // no gap after the last glyph; the last dot column is its own width
}

struct Stroke {
    double ax, ay, bx, by;
};

// Joins neighbouring dots: across and down always, diagonally only where no square corner already joins them,
// so that round letters come out round and square ones keep their corners.
void AddGlyphStrokes(const Glyph& g, double left, double top, double cell, std::vector<Stroke>& strokes)
{
    auto at = [&](int column, int row) { return std::pair{left + column * cell, top + row * cell}; };
    for (int row = 0; row < 9; ++row)
        for (int column = 0; column < GlyphWidth(g); ++column) {
            if (!Dot(g, column, row)) continue;
            auto [x, y] = at(column, row);
            strokes.push_back({x, y, x, y});
            auto join = [&](int c, int r) {
                auto [x2, y2] = at(c, r);
                strokes.push_back({x, y, x2, y2});
            };
            if (Dot(g, column + 1, row)) join(column + 1, row);
            if (Dot(g, column, row + 1)) join(column, row + 1);
            if (Dot(g, column + 1, row + 1) && !Dot(g, column + 1, row) && !Dot(g, column, row + 1))
                join(column + 1, row + 1);
            if (Dot(g, column - 1, row + 1) && !Dot(g, column - 1, row) && !Dot(g, column, row + 1))
                join(column - 1, row + 1);
        }
}

}  // namespace

double TextWidth(const std::string& text, const TextStyle& style)
{
    return TextCells(text) * style.cell + 2 * style.pen;
}

double CapHeight(const TextStyle& style)
{
    return 6 * style.cell + 2 * style.pen;
}

Shape TextShape(const std::string& text, const TextStyle& style, double left, double top)
{
    std::vector<Stroke> strokes;
    double x = left + style.pen, y = top + style.pen;
    for (char c : text) {
        const Glyph* g = FindGlyph(c);
        if (!g) {
            x += (kSpaceWidth + 1) * style.cell;
            continue;
        }
        AddGlyphStrokes(*g, x, y, style.cell, strokes);
        x += (GlyphWidth(*g) + 1) * style.cell;
    }
    double baseline = y + 6 * style.cell;
    double pen = style.pen, slant = style.slant;
    return [strokes, baseline, pen, slant](double px, double py) {
        px -= (baseline - py) * slant;  // undo the slant, then test against the upright strokes
        for (const Stroke& s : strokes) {
            if (px < std::min(s.ax, s.bx) - pen || px > std::max(s.ax, s.bx) + pen || py < std::min(s.ay, s.by) - pen ||
                py > std::max(s.ay, s.by) + pen)
                continue;
            if (Capsule(s.ax, s.ay, s.bx, s.by, pen)(px, py)) return true;
        }
        return false;
    };
}

Box TextBounds(const std::string& text, const TextStyle& style, double left, double top)
{
    double lean = std::abs(style.slant) * (CapHeight(style) + 2 * style.cell);
    return Box{left - lean - 1, top - 1, left + TextWidth(text, style) + lean + 1,
               top + CapHeight(style) + 2 * style.cell + 1};
}

void DrawCentredText(Canvas& canvas, const std::string& text, const TextStyle& style, Box box, Colour colour)
{
    double left = (box.left + box.right - TextWidth(text, style)) / 2;
    double top = (box.top + box.bottom - CapHeight(style)) / 2;
    canvas.Fill(TextShape(text, style, left, top), Solid(colour), TextBounds(text, style, left, top));
}
