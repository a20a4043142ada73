#pragma once
// Time stamps as the user reads them.
#include "platform/Platform.Types.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace platform {

inline constexpr std::uint32_t MsPerDay = 86'400'000;

// The time of day of a date-time value in milliseconds, 0 to MsPerDay - 1. Before 30 December
// 1899 the fraction counts forward from a negative day number, so its size is the time of day.
inline std::uint32_t TimeOfDayMs(TDateTime Value) {
    const double fraction = std::fabs(Value - std::trunc(Value));
    const auto ms = static_cast<std::uint32_t>(std::llround(fraction * MsPerDay));
    return ms >= MsPerDay ? MsPerDay - 1 : ms;
}

class ITimeFormat {
public:
    virtual ~ITimeFormat() = default;
    // The time of day of `Value` in the user's long time format (for example "14:05:09" or
    // "2:05:09 PM").
    virtual std::u16string LongTimeText(TDateTime Value) const = 0;
};

} // namespace platform
