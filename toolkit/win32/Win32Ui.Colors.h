#pragma once
// Toolkit colours as GDI sees them.
#include "toolkit/Toolkit.Types.h"

#include "toolkit/win32/Win32Ui.Windows.h"

namespace toolkit::win32 {

// A system colour (top byte 0xFF) is read from the current scheme; clDefault and clNone fall back
// to Fallback, which may itself be a system colour.
COLORREF ToColorRef(TColor Color, TColor Fallback = clWindow);

} // namespace toolkit::win32
