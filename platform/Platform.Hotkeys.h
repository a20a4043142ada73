#pragma once
// System-wide hotkeys registered to a window, which then receives WM_HOTKEY with the identifier.
#include "platform/Platform.Types.h"

#include <cstdint>

namespace platform {

// Modifier flags of RegisterHotKey.
inline constexpr std::uint32_t HotkeyModAlt = 0x0001;      // MOD_ALT
inline constexpr std::uint32_t HotkeyModControl = 0x0002;  // MOD_CONTROL
inline constexpr std::uint32_t HotkeyModShift = 0x0004;    // MOD_SHIFT
inline constexpr std::uint32_t HotkeyModNoRepeat = 0x4000; // MOD_NOREPEAT: a held chord fires once

class IHotkeys {
public:
    virtual ~IHotkeys() = default;
    // False when the combination is taken (by this or another program) or the call fails.
    [[nodiscard]] virtual bool RegisterHotKey(TWindowHandle Window, int Id, std::uint32_t Modifiers,
                                              std::uint32_t VirtualKey) = 0;
    // Frees the identifier of that window; freeing one that is not registered is harmless.
    virtual void UnregisterHotKey(TWindowHandle Window, int Id) = 0;
};

} // namespace platform
