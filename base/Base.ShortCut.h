#pragma once
// A keyboard shortcut as one 16-bit value: the Windows virtual-key code in bits 0 to 12 plus the
// modifier bits; 0 means no valid shortcut. Hotkey settings, menu items and hot-key controls share it.
#include <cstdint>

namespace base {

using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scKeyMask = 0x1FFF;

} // namespace base
