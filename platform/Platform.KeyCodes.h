#pragma once
// Virtual-key codes the program sends or watches, as Windows numbers them (the win32 backend
// checks each against its VK_ constant).
#include <array>
#include <cstdint>

namespace platform {

inline constexpr std::uint16_t VkBack = 0x08;
inline constexpr std::uint16_t VkReturn = 0x0D;
inline constexpr std::uint16_t VkShift = 0x10;
inline constexpr std::uint16_t VkControl = 0x11;
inline constexpr std::uint16_t VkMenu = 0x12; // Alt
inline constexpr std::uint16_t VkRight = 0x27;
// Letter keys have no VK_ names: Windows numbers them by their capital letter.
inline constexpr std::uint16_t VkE = u'E';
inline constexpr std::uint16_t VkS = u'S';
inline constexpr std::uint16_t VkU = u'U';
inline constexpr std::uint16_t VkY = u'Y';
inline constexpr std::uint16_t VkLShift = 0xA0;
inline constexpr std::uint16_t VkRShift = 0xA1;
inline constexpr std::uint16_t VkLControl = 0xA2;
inline constexpr std::uint16_t VkRControl = 0xA3;
inline constexpr std::uint16_t VkLMenu = 0xA4;
inline constexpr std::uint16_t VkRMenu = 0xA5;

// Ctrl, Alt and Shift, generic and both sides; the Windows keys are left out on purpose.
inline constexpr std::array<std::uint16_t, 9> ModifierKeys = {
    VkControl, VkLControl, VkRControl, VkMenu, VkLMenu, VkRMenu, VkShift, VkLShift, VkRShift};

} // namespace platform
