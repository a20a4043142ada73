#pragma once
// Windows key input into the prompt's keys. The same rules serve termsim's window (WM_KEYDOWN
// with the modifier state, then WM_CHAR) and native tests (the key records SendInput was given):
// SendInput's Unicode packets become characters, control units in them included, as a console
// hands them to the program (0x7F and 0x08 both delete one character); Enter, Backspace, the arrows, Escape and Tab come as virtual keys;
// Ctrl+letter is a chord only while Ctrl is down and Alt is not (Ctrl+Alt is AltGr, a character).
#include "platform/Platform.Types.h"
#include "tools/termsim/Termsim.Key.h"

#include <cstdint>
#include <optional>

namespace termsim {

// Virtual-key codes as Windows numbers them; termsim's window checks each against its VK_ name.
inline constexpr std::uint16_t VkBack = 0x08;
inline constexpr std::uint16_t VkTab = 0x09;
inline constexpr std::uint16_t VkReturn = 0x0D;
inline constexpr std::uint16_t VkEscape = 0x1B;
inline constexpr std::uint16_t VkSpace = 0x20;
inline constexpr std::uint16_t VkEnd = 0x23;
inline constexpr std::uint16_t VkHome = 0x24;
inline constexpr std::uint16_t VkLeft = 0x25;
inline constexpr std::uint16_t VkUp = 0x26;
inline constexpr std::uint16_t VkRight = 0x27;
inline constexpr std::uint16_t VkDown = 0x28;
inline constexpr std::uint16_t VkDelete = 0x2E;
inline constexpr std::uint16_t VkPacket = 0xE7;

struct TModifiers {
    bool Ctrl = false;
    bool Shift = false;
    bool Alt = false;
};

class TKeyDecoder {
public:
    // A key going down: the prompt key it is, or nullopt when it brings a character (a WM_CHAR
    // follows) or means nothing to the prompt (a modifier on its own).
    std::optional<TKeyEvent> KeyDown(std::uint16_t VirtualKey, TModifiers Modifiers);
    // A character (WM_CHAR). Control units count only after a Unicode packet: those of Enter,
    // Backspace and Ctrl+letter chords were already taken as keys going down.
    std::optional<TKeyEvent> Character(char16_t Unit);
    // One record of a SendInput batch, as the window in front would take it.
    std::optional<TKeyEvent> Record(const platform::TKeyInput& Record, TModifiers Modifiers);

private:
    bool FPacket = false;
};

} // namespace termsim
