#include "toolkit/win32/Win32Ui.Colors.h"

namespace toolkit::win32 {

namespace {

// The values the OS-free headers copied from the Windows headers; a wrong one fails the build.
static_assert(static_cast<COLORREF>(clRed) == RGB(255, 0, 0) &&
                  static_cast<COLORREF>(clLime) == RGB(0, 255, 0) &&
                  static_cast<COLORREF>(clBlue) == RGB(0, 0, 255),
              "plain colours are COLORREF values");
static_assert((clWindow & 0xFF) == COLOR_WINDOW);
static_assert((clWindowText & 0xFF) == COLOR_WINDOWTEXT);
static_assert((clBtnFace & 0xFF) == COLOR_BTNFACE);
static_assert((clBtnText & 0xFF) == COLOR_BTNTEXT);
static_assert((clHighlight & 0xFF) == COLOR_HIGHLIGHT);
static_assert((clHotLight & 0xFF) == COLOR_HOTLIGHT);
static_assert((clInfoBk & 0xFF) == COLOR_INFOBK);

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
