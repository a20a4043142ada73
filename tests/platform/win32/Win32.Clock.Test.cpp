#include "platform/win32/Win32.Platform.h"

#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

namespace platform::win32 {
namespace {

constexpr double OneSecond = 1.0 / (24 * 60 * 60);

// OLE automation dates count from the same day in the same way, but only to the second.
double OleNow() {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    double date = 0;
    SystemTimeToVariantTime(&time, &date);
    return date;
}

TEST(Win32Clock, NowIsTheLocalTimeAsDaysSince18991230) {
    TWin32Clock clock;
    const double before = OleNow();
    const TDateTime now = clock.Now();
    const double after = OleNow();

    EXPECT_GE(now, before - OneSecond);
    EXPECT_LE(now, after + OneSecond);
}

TEST(Win32Clock, MonotonicMsIsTheTickCount) {
    TWin32Clock clock;
    const ULONGLONG before = GetTickCount64();
    const std::uint64_t ticks = clock.MonotonicMs();
    const ULONGLONG after = GetTickCount64();

    EXPECT_GE(ticks, before);
    EXPECT_LE(ticks, after);
}

} // namespace
} // namespace platform::win32
