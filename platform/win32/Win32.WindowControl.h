#pragma once
#include "platform/Platform.WindowControl.h"

namespace platform::win32 {

// FindWindowW (no title), SendMessageW, Get/SetWindowPlacement, GetForegroundWindow,
// GetWindowThreadProcessId, AttachThreadInput, SetForegroundWindow.
class TWin32WindowControl final : public IWindowControl {
public:
    TWindowHandle FindTopLevelWindow(const std::u16string& ClassName) const override;
    std::intptr_t SendMessageAndWait(TWindowHandle Window, std::uint32_t Message, std::uintptr_t WParam,
                                     std::intptr_t LParam) override;
    bool GetPlacement(TWindowHandle Window, TWindowPlacement& Placement) const override;
    bool SetPlacement(TWindowHandle Window, const TWindowPlacement& Placement) override;
    TWindowHandle ForegroundWindow() const override;
    TThreadId WindowThreadId(TWindowHandle Window) const override;
    bool AttachThreadInput(TThreadId From, TThreadId To, bool Attach) override;
    bool SetForegroundWindow(TWindowHandle Window) override;
};

} // namespace platform::win32
