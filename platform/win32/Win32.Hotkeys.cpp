#include "platform/win32/Win32.Hotkeys.h"

#include <windows.h>

namespace platform::win32 {

bool TWin32Hotkeys::RegisterHotKey(TWindowHandle Window, int Id, std::uint32_t Modifiers,
                                   std::uint32_t VirtualKey) {
    return ::RegisterHotKey(reinterpret_cast<HWND>(Window), Id, Modifiers, VirtualKey) != FALSE;
}

void TWin32Hotkeys::UnregisterHotKey(TWindowHandle Window, int Id) {
    ::UnregisterHotKey(reinterpret_cast<HWND>(Window), Id);
}

} // namespace platform::win32
