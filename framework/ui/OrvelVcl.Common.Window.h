#pragma once
// Bringing a window, usually the main window of an already running copy, back to the front.
#include "platform/Platform.WindowControl.h"

#include <cstdint>
#include <string>

namespace orvel {

// The private message a second copy sends to the first copy's main window before restoring it
// (WM_USER + 65); the main window answers it by showing itself.
inline constexpr std::uint32_t BringForwardMessage = 0x0441;

// Finds a top-level window of ClassName, whatever its title and even when hidden, and
// RestoreWindow's it. True when a window was found, whatever the restore answered. An empty
// ClassName raises EOrvelException.
bool RestoreWindowByName(platform::IWindowControl& Windows, const std::u16string& ClassName);

// Sends BringForwardMessage and waits until it was handled (a hung target hangs the caller too), puts
// the window back in its restored or, if it was maximised before it was minimised, maximised
// state, then ForceForegroundWindow. The answer is that of the last step. A Wnd of 0 raises
// EOrvelException.
bool RestoreWindow(platform::IWindowControl& Windows, platform::TWindowHandle Wnd);

// Makes Wnd the foreground window; true on success. When another thread's window is in front,
// its input is attached to Wnd's thread for one SetForegroundWindow, which the system then allows;
// a second call, detached, settles it. A Wnd of 0 is no window and answers false.
bool ForceForegroundWindow(platform::IWindowControl& Windows, platform::TWindowHandle Wnd);

} // namespace orvel
