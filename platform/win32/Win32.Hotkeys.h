#pragma once
#include "platform/Platform.Hotkeys.h"

namespace platform::win32 {

class TWin32Hotkeys final : public IHotkeys {
public:
    [[nodiscard]] bool RegisterHotKey(TWindowHandle Window, int Id, std::uint32_t Modifiers,
                                      std::uint32_t VirtualKey) override;
    void UnregisterHotKey(TWindowHandle Window, int Id) override;
};

} // namespace platform::win32
