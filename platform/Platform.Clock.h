#pragma once
#include "platform/Platform.Types.h"

namespace platform {

class IClock {
public:
    virtual ~IClock() = default;
    // The local wall-clock time.
    virtual TDateTime Now() const = 0;
    // A monotonic millisecond counter for intervals and timers.
    virtual std::uint64_t MonotonicMs() const = 0;
};

} // namespace platform
