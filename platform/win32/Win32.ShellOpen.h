#pragma once
#include "platform/Platform.ShellOpen.h"

namespace platform::win32 {

class TWin32ShellOpen final : public IShellOpen {
public:
    [[nodiscard]] TShellOpenResult Open(const std::u16string& Target) override;
};

} // namespace platform::win32
