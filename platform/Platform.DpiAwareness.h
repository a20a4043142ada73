#pragma once
#include <cstdint>

namespace platform {

// How the process tells Windows it handles screen density.
enum class TDpiAwareness : std::uint8_t {
    PerMonitorV2,
    PerMonitor,
    System,
    UnawareGdiScaled,
    Unaware,
    AwareLegacy, // marked DPI-aware on a system without per-monitor modes
    Unknown
};

class IDpiAwareness {
public:
    virtual ~IDpiAwareness() = default;
    // The calling thread's mode where the system has thread contexts (Windows 10 1607 on), else
    // the process's.
    virtual TDpiAwareness Awareness() const = 0;
};

} // namespace platform
