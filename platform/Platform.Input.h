#pragma once
#include "platform/Platform.KeyCodes.h"
#include "platform/Platform.Types.h"

#include <span>

namespace platform {

// Synthetic input and key state.
class IInput {
public:
    virtual ~IInput() = default;
    // One SendInput call with the whole batch, after clearing the thread's last-error code.
    virtual TSendInputAnswer SendInputBatch(std::span<const TKeyInput> Records) = 0;
    // GetAsyncKeyState: the high bit (0x8000) is set while the key is down.
    virtual std::uint16_t AsyncKeyState(std::uint16_t VirtualKey) const = 0;
};

} // namespace platform
