#pragma once
#include <cstdint>

namespace platform {

// MB_ICONHAND: the user's critical-stop sound.
inline constexpr std::uint32_t BeepIconHand = 0x10;

class ISound {
public:
    virtual ~ISound() = default;
    virtual void MessageBeep(std::uint32_t Type) = 0;
};

} // namespace platform
