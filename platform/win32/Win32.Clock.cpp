#include "platform/win32/Win32.Clock.h"

#include <windows.h>

#include <chrono>

namespace platform::win32 {

namespace {

constexpr double MsPerDay = 24.0 * 60 * 60 * 1000;

// Whole days count from 30 December 1899 and the time of day is the fraction. Before that day
// the fraction still counts forward in time while the whole part counts back, so it is taken
// away from a negative day number instead of added to it.
TDateTime ToDateTime(const SYSTEMTIME& Time) {
    using namespace std::chrono;
    const sys_days date{year{Time.wYear} / month{Time.wMonth} / day{Time.wDay}};
    constexpr sys_days epoch{year{1899} / December / day{30}};
    const double days = static_cast<double>((date - epoch).count());
    const double ms =
        ((Time.wHour * 60.0 + Time.wMinute) * 60.0 + Time.wSecond) * 1000.0 + Time.wMilliseconds;
    const double fraction = ms / MsPerDay;
    return days < 0 ? days - fraction : days + fraction;
}

} // namespace

TDateTime TWin32Clock::Now() const {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    return ToDateTime(time);
}

std::uint64_t TWin32Clock::MonotonicMs() const {
    return GetTickCount64();
}

long long QpcMicroseconds() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<long long>(count.QuadPart / frequency.QuadPart * 1000000 +
                                  count.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart);
}

} // namespace platform::win32
