#include "platform/win32/Win32.WindowFacts.h"

#include "platform/win32/Win32.Text.h"

#include <algorithm>

namespace platform::win32 {

namespace {

HWND ToHwnd(TWindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

constexpr int ClassNameUnits = 256;
constexpr int TitleUnits = 512;

// The copied count, kept inside the buffer whatever the call answered.
std::u16string CopiedText(const wchar_t* buffer, int copied, int capacity) {
    return FromWide(buffer, static_cast<std::size_t>(std::clamp(copied, 0, capacity - 1)));
}

} // namespace

TWindowHandle TWin32WindowFacts::ForegroundWindow() const {
    return reinterpret_cast<TWindowHandle>(GetForegroundWindow());
}

std::u16string TWin32WindowFacts::ClassName(TWindowHandle window) const {
    wchar_t buffer[ClassNameUnits] = {};
    return CopiedText(buffer, GetClassNameW(ToHwnd(window), buffer, ClassNameUnits), ClassNameUnits);
}

std::u16string TWin32WindowFacts::Title(TWindowHandle window) const {
    wchar_t buffer[TitleUnits] = {};
    return CopiedText(buffer, GetWindowTextW(ToHwnd(window), buffer, TitleUnits), TitleUnits);
}

TProcessId TWin32WindowFacts::OwningProcessId(TWindowHandle window) const {
    DWORD pid = 0;
    if (GetWindowThreadProcessId(ToHwnd(window), &pid) == 0)
        return 0;
    return pid;
}

} // namespace platform::win32
