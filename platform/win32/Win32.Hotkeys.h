#pragma once
#include "platform/Platform.Hotkeys.h"

namespace platform::win32 {

class TWin32Hotkeys final : public IHotkeys {
public:
    [[nodiscard]] bool RegisterHotKey(TWindowHandle window, int id, std::uint32_t modifiers,
                                      std::uint32_t virtualKey) override;
    void UnregisterHotKey(TWindowHandle window, int id) override;
};

} // namespace platform::win32
