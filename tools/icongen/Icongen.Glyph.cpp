#include "tools/icongen/Icongen.Glyph.h"

#include <algorithm>
#include <cmath>

namespace icongen {

namespace {

// How much of the pixel (X, Y) lies inside the rounded tile, from an 8 x 8 grid of samples.
double TileCoverage(int X, int Y, int Size, double Radius) {
    constexpr int Grid = 8;
    int inside = 0;
    for (int sy = 0; sy < Grid; ++sy) {
        for (int sx = 0; sx < Grid; ++sx) {
            const double px = X + (sx + 0.5) / Grid;
            const double py = Y + (sy + 0.5) / Grid;
            // Distance from the tile's inner rectangle, whose corners the radius rounds.
            const double dx = std::max({Radius - px, px - (Size - Radius), 0.0});
            const double dy = std::max({Radius - py, py - (Size - Radius), 0.0});
            inside += dx * dx + dy * dy <= Radius * Radius ? 1 : 0;
        }
    }
    return static_cast<double>(inside) / (Grid * Grid);
}

std::uint8_t Channel(std::uint32_t Colour, int Shift) {
    return static_cast<std::uint8_t>((Colour >> Shift) & 0xFF);
}

std::uint32_t Mix(std::uint32_t From, std::uint32_t To, double T) {
    std::uint32_t result = 0xFF000000u;
    for (const int shift : {0, 8, 16}) {
        const double value = Channel(From, shift) + (Channel(To, shift) - Channel(From, shift)) * T;
        result |= static_cast<std::uint32_t>(std::lround(value)) << shift;
    }
    return result;
}

} // namespace

TGlyphLayout LayoutFor(int Size) {
    TGlyphLayout layout;
    layout.Size = Size;
    layout.CornerRadius = Size * 0.1875;
    const int gap = std::max(1, static_cast<int>(std::lround(Size / 16.0)));
    const int width =
        std::max(2, static_cast<int>(std::lround((Size * 0.78 - (BarCount - 1) * gap) / BarCount)));
    const int total = BarCount * width + (BarCount - 1) * gap;
    const int margin = (Size - total) / 2;
    const int height = Size - 2 * margin;
    for (int i = 0; i < BarCount; ++i) {
        TBar& bar = layout.Bars[i];
        bar.Left = margin + i * (width + gap);
        bar.Right = bar.Left + width;
        bar.Bottom = Size - margin;
        bar.Top = bar.Bottom - std::max(1, static_cast<int>(std::lround(height * (i + 1) / double(BarCount))));
    }
    return layout;
}

TImage RenderGlyph(int Size) {
    const TGlyphLayout layout = LayoutFor(Size);
    TImage image;
    image.Size = Size;
    image.Pixels.resize(static_cast<std::size_t>(Size) * Size);
    for (int y = 0; y < Size; ++y) {
        const std::uint32_t tile = Mix(TileTop, TileBottom, Size > 1 ? y / double(Size - 1) : 0.0);
        for (int x = 0; x < Size; ++x) {
            std::uint32_t colour = tile;
            for (int i = 0; i < BarCount; ++i) {
                const TBar& bar = layout.Bars[i];
                if (x >= bar.Left && x < bar.Right && y >= bar.Top && y < bar.Bottom) {
                    colour = i == BarCount - 1 ? TopBarColour : BarColour;
                }
            }
            const auto alpha = static_cast<std::uint32_t>(std::lround(255 * TileCoverage(x, y, Size, layout.CornerRadius)));
            image.Pixels[static_cast<std::size_t>(y) * Size + x] = (alpha << 24) | (colour & 0x00FFFFFFu);
        }
    }
    return image;
}

} // namespace icongen
