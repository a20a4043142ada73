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

// QueryPerformanceCounter in microseconds: one clock for every process on the machine, so a
// program that sends keys and one that receives them can set their readings side by side.
[[nodiscard]] long long QpcMicroseconds();

} // namespace platform::win32
