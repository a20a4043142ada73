#include "platform/win32/Win32.Hotkeys.h"

#include <windows.h>

namespace platform::win32 {

bool TWin32Hotkeys::RegisterHotKey(TWindowHandle window, int id, std::uint32_t modifiers,
                                   std::uint32_t virtualKey) {
    return ::RegisterHotKey(reinterpret_cast<HWND>(window), id, modifiers, virtualKey) != FALSE;
}

void TWin32Hotkeys::UnregisterHotKey(TWindowHandle window, int id) {
    ::UnregisterHotKey(reinterpret_cast<HWND>(window), id);
}

} // namespace platform::win32
