#pragma once
// The screen of a console window, or of the consoles a terminal window hosts (a Windows Terminal
// window owns one hidden pseudo-console window per tab), read through the console API: attach for
// a moment to a process of that console, read the visible rows, free the console.
#include "platform/Platform.ScreenReader.h"

#include <map>
#include <optional>
#include <vector>

#include <windows.h>

namespace platform::win32 {

class TWin32ScreenReader final : public IScreenReader {
public:
    [[nodiscard]] TScreenRead ReadScreen(TWindowHandle Window) override;

    struct TProcessEntry {
        TProcessId Pid = 0;
        TProcessId Parent = 0;
    };

private:
    // Finds a process attached to the console of Console (whose host window belongs to HostPid)
    // and reads it.
    std::optional<TConsoleScreen> ReadConsoleOf(HWND Console, TProcessId HostPid,
                                                std::optional<std::vector<TProcessEntry>>& Processes);

    // The process last found attached to each console window, tried first next time: finding one
    // takes a snapshot of all processes. 0: searched for in vain.
    std::map<TWindowHandle, TProcessId> FKnownClients;
    // When each window's last search (known as 0 above) came to nothing, in GetTickCount64 ms.
    std::map<TWindowHandle, unsigned long long> FSearchedInVainAt;
};

} // namespace platform::win32
