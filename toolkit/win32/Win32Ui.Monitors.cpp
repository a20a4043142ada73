#include "toolkit/win32/Win32Ui.Monitors.h"

#include "toolkit/win32/Win32Ui.Windows.h"

namespace toolkit::win32 {

namespace {

constexpr int EffectiveDpi = 0; // MDT_EFFECTIVE_DPI

struct TEnumeration {
    std::vector<TMonitor> Monitors;
    const TDpiSource* Dpi = nullptr;
};

TRect ToRect(const RECT& Rect) {
    return TRect{Rect.left, Rect.top, Rect.right, Rect.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR Monitor, HDC, LPRECT, LPARAM State) {
    auto& state = *reinterpret_cast<TEnumeration*>(State);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(Monitor, &info) == FALSE)
        return TRUE;
    TMonitor monitor;
    monitor.MonitorNum = static_cast<int>(state.Monitors.size());
    monitor.BoundsRect = ToRect(info.rcMonitor);
    monitor.WorkareaRect = ToRect(info.rcWork);
    monitor.Primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    monitor.PixelsPerInch = state.Dpi->PixelsPerInch(Monitor);
    state.Monitors.push_back(monitor);
    return TRUE;
}

} // namespace

TDpiSource::TDpiSource() : FShcore(::LoadLibraryW(L"shcore.dll")) {
    if (FShcore != nullptr)
        FGetDpi = reinterpret_cast<TGetDpiForMonitor>(
            reinterpret_cast<void*>(::GetProcAddress(FShcore, "GetDpiForMonitor")));
}

TDpiSource::~TDpiSource() {
    if (FShcore != nullptr)
        ::FreeLibrary(FShcore);
}

int TDpiSource::PixelsPerInch(HMONITOR Monitor) const {
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (FGetDpi != nullptr && SUCCEEDED(FGetDpi(Monitor, EffectiveDpi, &dpiX, &dpiY)) && dpiX > 0)
        return static_cast<int>(dpiX);
    return 96;
}

std::vector<TMonitor> EnumerateMonitors(const TDpiSource& Dpi) {
    TEnumeration state;
    state.Dpi = &Dpi;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&state));
    if (state.Monitors.empty()) {
        // No monitor reported (a session without a display): the primary screen's metrics.
        TMonitor monitor;
        monitor.BoundsRect = RectOf(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
        RECT work{};
        monitor.WorkareaRect = ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) != FALSE
                                   ? ToRect(work)
                                   : monitor.BoundsRect;
        monitor.Primary = true;
        state.Monitors.push_back(monitor);
    }
    return state.Monitors;
}

} // namespace toolkit::win32
