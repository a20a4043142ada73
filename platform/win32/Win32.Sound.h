#pragma once
#include "platform/Platform.Sound.h"

namespace platform::win32 {

class TWin32Sound final : public ISound {
public:
    void MessageBeep(std::uint32_t Type) override;
};

} // namespace platform::win32
