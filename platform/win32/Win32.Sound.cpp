#include "platform/win32/Win32.Sound.h"

#include <windows.h>

namespace platform::win32 {

static_assert(BeepIconHand == MB_ICONHAND);

void TWin32Sound::MessageBeep(std::uint32_t Type) {
    ::MessageBeep(Type);
}

} // namespace platform::win32
