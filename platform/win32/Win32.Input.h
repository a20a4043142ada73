#pragma once
#include "platform/Platform.Input.h"

namespace platform::win32 {

class TWin32Input final : public IInput {
public:
    // An empty batch is not handed to Windows: it answers 0 inserted and error 0.
    TSendInputAnswer SendInputBatch(std::span<const TKeyInput> Records) override;
    std::uint16_t AsyncKeyState(std::uint16_t VirtualKey) const override;
};

} // namespace platform::win32
