#pragma once
#include "platform/Platform.Clock.h"

namespace platform::win32 {

class TWin32Clock final : public IClock {
public:
    // GetLocalTime, milliseconds included.
    TDateTime Now() const override;
    // GetTickCount64.
    std::uint64_t MonotonicMs() const override;
};

} // namespace platform::win32
