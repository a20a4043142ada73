#pragma once
// Tarvin's glyph: five bars rising left to right, one per effort level, white on a rounded indigo
// tile, the highest in amber. Drawn for each icon size on its own pixel grid, so that the bars and
// the gaps between them stay whole pixels and read even at 16 x 16 in a notification area.
#include <cstdint>
#include <vector>

namespace icongen {

// Colours as 0xAARRGGBB, straight (not premultiplied) alpha.
inline constexpr std::uint32_t TileTop = 0xFF4354B8u;
inline constexpr std::uint32_t TileBottom = 0xFF283593u;
inline constexpr std::uint32_t BarColour = 0xFFFFFFFFu;
inline constexpr std::uint32_t TopBarColour = 0xFFFFB300u;

inline constexpr int BarCount = 5;

struct TBar {
    int Left = 0; // first column
    int Right = 0; // one past the last column
    int Top = 0;   // first row
    int Bottom = 0; // one past the last row
};

// Where the bars go at one size, in whole pixels.
struct TGlyphLayout {
    int Size = 0;
    double CornerRadius = 0;
    TBar Bars[BarCount];
};

struct TImage {
    int Size = 0;
    std::vector<std::uint32_t> Pixels; // rows top first, Size x Size
    std::uint32_t At(int X, int Y) const { return Pixels[static_cast<std::size_t>(Y) * Size + X]; }
};

TGlyphLayout LayoutFor(int Size);
TImage RenderGlyph(int Size);

} // namespace icongen
