#include "toolkit/win32/Win32Ui.Colors.h"

namespace toolkit::win32 {

namespace {

bool IsSystemColor(TColor Color) {
    return (static_cast<std::uint32_t>(Color) & 0xFF000000u) == static_cast<std::uint32_t>(clSystemColor);
}

} // namespace

COLORREF ToColorRef(TColor Color, TColor Fallback) {
    if (Color == clDefault || Color == clNone)
        Color = (Fallback == clDefault || Fallback == clNone) ? clWindow : Fallback;
    if (IsSystemColor(Color))
        return ::GetSysColor(static_cast<int>(Color & 0xFF));
    return static_cast<COLORREF>(Color & 0x00FFFFFF);
}

} // namespace toolkit::win32
