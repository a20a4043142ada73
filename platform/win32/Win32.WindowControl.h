#pragma once
#include "platform/Platform.WindowControl.h"

namespace platform::win32 {

// FindWindowW (no title), SendMessageW, Get/SetWindowPlacement, GetForegroundWindow,
// GetWindowThreadProcessId, AttachThreadInput, SetForegroundWindow.
class TWin32WindowControl final : public IWindowControl {
public:
    TWindowHandle FindTopLevelWindow(const std::u16string& className) const override;
    std::intptr_t SendMessageAndWait(TWindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) override;
    bool GetPlacement(TWindowHandle window, TWindowPlacement& placement) const override;
    bool SetPlacement(TWindowHandle window, const TWindowPlacement& placement) override;
    TWindowHandle ForegroundWindow() const override;
    TThreadId WindowThreadId(TWindowHandle window) const override;
    bool AttachThreadInput(TThreadId from, TThreadId to, bool attach) override;
    bool SetForegroundWindow(TWindowHandle window) override;
};

} // namespace platform::win32
