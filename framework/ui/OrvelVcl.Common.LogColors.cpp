#include "framework/ui/OrvelVcl.Common.LogColors.h"

#include "framework/core/OrvelCore.Exceptions.h"

#include <array>

namespace orvel {

namespace {

struct TLevelColors {
    toolkit::TColor Standard;
    toolkit::TColor Dark;
};

// Indexed by level; 0x00BBGGRR.
constexpr std::array<TLevelColors, 7> LevelColors{{
    {0x909090, 0x909090}, // debug
    {0x808080, 0xB0B0B0}, // verbose
    {0x707070, 0xC0C0C0}, // hints
    {0x000000, 0xFFFFFF}, // infos
    {0x0099CC, 0x99CCFF}, // important
    {0x0078FF, 0x0078FF}, // warnings
    {0x0000FF, 0x0000FF}, // errors
}};

} // namespace

toolkit::TColor Verbosity2Color(TLogVerbLvl Level, bool DarkPalette) {
    const auto index = static_cast<std::size_t>(Level);
    if (index >= LevelColors.size()) {
        throw EOrvelException(u"Verbosity2Color: Invalid log verbosity level");
    }
    return DarkPalette ? LevelColors[index].Dark : LevelColors[index].Standard;
}

bool IsDarkBackground(toolkit::TColor WindowColor) {
    const int red = WindowColor & 0xFF;
    const int green = (WindowColor >> 8) & 0xFF;
    const int blue = (WindowColor >> 16) & 0xFF;
    // In thousandths, so that no rounding decides a colour on the border.
    return 299 * red + 587 * green + 114 * blue < 127 * 1000;
}

} // namespace orvel
