#include "platform/win32/Win32.DebugOutput.h"

#include "platform/win32/Win32.Text.h"

namespace platform::win32 {

void TWin32DebugOutput::WriteDebugString(const std::u16string& Text) {
    OutputDebugStringW(AsWide(Text));
}

} // namespace platform::win32
