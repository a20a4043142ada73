#pragma once
#include "platform/Platform.DpiAwareness.h"

namespace platform::win32 {

// Asks, first answer wins: the thread's awareness context compared with the five known ones
// (GetThreadDpiAwarenessContext, AreDpiAwarenessContextsEqual; Windows 10 1607 on); the process's
// awareness (GetProcessDpiAwareness; Windows 8.1 on); IsProcessDPIAware. The newer functions are
// looked up at run time, so a system without them moves on to the next question.
class TWin32DpiAwareness final : public IDpiAwareness {
public:
    TDpiAwareness Awareness() const override;
};

} // namespace platform::win32
