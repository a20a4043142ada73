#pragma once
// The monitors of the desktop with their work areas and pixel densities.
#include "toolkit/Toolkit.Application.h"

#include "toolkit/win32/Win32Ui.Windows.h"

#include <vector>

namespace toolkit::win32 {

// shcore.dll's GetDpiForMonitor, looked up at run time: the program also starts where it is
// missing. Loaded once; the layout asks for densities on every paint.
class TDpiSource {
public:
    TDpiSource();
    ~TDpiSource();
    TDpiSource(const TDpiSource&) = delete;
    TDpiSource& operator=(const TDpiSource&) = delete;
    // The effective density of Monitor, or 96 where the system cannot tell.
    int PixelsPerInch(HMONITOR Monitor) const;

private:
    using TGetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    HMODULE FShcore = nullptr;
    TGetDpiForMonitor FGetDpi = nullptr;
};

// In the system's enumeration order.
std::vector<TMonitor> EnumerateMonitors(const TDpiSource& Dpi);

} // namespace toolkit::win32
