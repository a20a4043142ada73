#pragma once
#include "platform/Platform.ForegroundWatch.h"

#include <windows.h>

namespace platform::win32 {

// An out-of-context WinEvent hook for EVENT_SYSTEM_FOREGROUND: the system queues each event to the
// thread that set the hook, which handles it while it pumps messages.
class TWin32ForegroundWatch final : public IForegroundWatch {
public:
    TWin32ForegroundWatch() = default;
    ~TWin32ForegroundWatch() override;
    TWin32ForegroundWatch(const TWin32ForegroundWatch&) = delete;
    TWin32ForegroundWatch& operator=(const TWin32ForegroundWatch&) = delete;

    [[nodiscard]] bool Start(std::function<void()> OnChange) override;
    void Stop() override;

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK Hook, DWORD Event, HWND Window, LONG Object, LONG Child,
                                 DWORD Thread, DWORD Time);

    HWINEVENTHOOK FHook = nullptr;
    std::function<void()> FOnChange;
};

} // namespace platform::win32
