#pragma once
#include "platform/Platform.Types.h"

#include <cstdint>

namespace platform {

using TThreadId = std::uint32_t;

struct TScreenPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TScreenPoint&, const TScreenPoint&) = default;
};

struct TScreenRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend bool operator==(const TScreenRect&, const TScreenRect&) = default;
};

inline constexpr std::uint32_t WindowPlacementLength = 44;           // sizeof(WINDOWPLACEMENT)
inline constexpr std::uint32_t PlacementRestoreToMaximized = 0x0002; // WPF_RESTORETOMAXIMIZED
inline constexpr std::uint32_t ShowMaximized = 3;                    // SW_SHOWMAXIMIZED
inline constexpr std::uint32_t ShowRestore = 9;                      // SW_RESTORE

// The Windows WINDOWPLACEMENT record, field for field. Length must be set before a read.
struct TWindowPlacement {
    std::uint32_t Length = 0;
    std::uint32_t Flags = 0;
    std::uint32_t ShowCmd = 0;
    TScreenPoint MinPosition;
    TScreenPoint MaxPosition;
    TScreenRect NormalPosition;
    friend bool operator==(const TWindowPlacement&, const TWindowPlacement&) = default;
};

// Finding, restoring and activating top-level windows, possibly of other processes. Every
// failure comes back as a value (0 or false).
class IWindowControl {
public:
    virtual ~IWindowControl() = default;
    // A top-level window of this class, whatever its title and whether visible or not.
    virtual TWindowHandle FindTopLevelWindow(const std::u16string& ClassName) const = 0;
    // Delivers the message and waits until the window's thread has handled it.
    virtual std::intptr_t SendMessageAndWait(TWindowHandle Window, std::uint32_t Message,
                                             std::uintptr_t WParam, std::intptr_t LParam) = 0;
    // `placement.Length` is passed on as the caller set it.
    virtual bool GetPlacement(TWindowHandle Window, TWindowPlacement& Placement) const = 0;
    virtual bool SetPlacement(TWindowHandle Window, const TWindowPlacement& Placement) = 0;
    virtual TWindowHandle ForegroundWindow() const = 0;
    // The thread that created the window; 0 when the window does not exist.
    virtual TThreadId WindowThreadId(TWindowHandle Window) const = 0;
    virtual bool AttachThreadInput(TThreadId From, TThreadId To, bool Attach) = 0;
    virtual bool SetForegroundWindow(TWindowHandle Window) = 0;
};

} // namespace platform
