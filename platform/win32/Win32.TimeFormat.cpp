#include "platform/win32/Win32.TimeFormat.h"

#include "platform/win32/Win32.Text.h"

#include <windows.h>

namespace platform::win32 {

std::u16string TWin32TimeFormat::LongTimeText(TDateTime Value) const {
    const std::uint32_t ms = TimeOfDayMs(Value);
    // Only the time fields are read; the date stays a valid day so that nothing is refused.
    SYSTEMTIME time{};
    time.wYear = 2000;
    time.wMonth = 1;
    time.wDay = 1;
    time.wHour = static_cast<WORD>(ms / 3'600'000);
    time.wMinute = static_cast<WORD>(ms / 60'000 % 60);
    time.wSecond = static_cast<WORD>(ms / 1000 % 60);
    wchar_t buffer[128];
    const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, buffer, 128);
    if (length <= 1) {
        // No locale answer: the 24-hour form, so a log line never goes without its time.
        wchar_t fallback[16];
        wsprintfW(fallback, L"%02u:%02u:%02u", time.wHour, time.wMinute, time.wSecond);
        return FromWide(fallback);
    }
    return FromWide(buffer, static_cast<std::size_t>(length - 1));
}

} // namespace platform::win32
