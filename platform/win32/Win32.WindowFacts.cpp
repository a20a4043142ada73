#include "platform/win32/Win32.WindowFacts.h"

#include "platform/win32/Win32.Text.h"

#include <algorithm>

namespace platform::win32 {

namespace {

HWND ToHwnd(TWindowHandle Window) {
    return reinterpret_cast<HWND>(Window);
}

constexpr int ClassNameUnits = 256;
constexpr int TitleUnits = 512;

// The copied count, kept inside the buffer whatever the call answered.
std::u16string CopiedText(const wchar_t* Buffer, int Copied, int Capacity) {
    return FromWide(Buffer, static_cast<std::size_t>(std::clamp(Copied, 0, Capacity - 1)));
}

} // namespace

TWindowHandle TWin32WindowFacts::ForegroundWindow() const {
    return reinterpret_cast<TWindowHandle>(GetForegroundWindow());
}

std::u16string TWin32WindowFacts::ClassName(TWindowHandle Window) const {
    wchar_t buffer[ClassNameUnits] = {};
    return CopiedText(buffer, GetClassNameW(ToHwnd(Window), buffer, ClassNameUnits), ClassNameUnits);
}

std::u16string TWin32WindowFacts::Title(TWindowHandle Window) const {
    wchar_t buffer[TitleUnits] = {};
    return CopiedText(buffer, GetWindowTextW(ToHwnd(Window), buffer, TitleUnits), TitleUnits);
}

TProcessId TWin32WindowFacts::OwningProcessId(TWindowHandle Window) const {
    DWORD pid = 0;
    if (GetWindowThreadProcessId(ToHwnd(Window), &pid) == 0)
        return 0;
    return pid;
}

} // namespace platform::win32
