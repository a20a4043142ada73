#include "platform/win32/Win32.ShellOpen.h"

#include "platform/win32/Win32.Text.h"

#include <shellapi.h>

namespace platform::win32 {

TShellOpenResult TWin32ShellOpen::Open(const std::u16string& Target) {
    // A NUL would open only the part before it; SE_ERR_FNF is what the shell says for a bad name.
    if (HasEmbeddedNul(Target))
        return TShellOpenResult{false, SE_ERR_FNF};
    const auto code = reinterpret_cast<std::intptr_t>(
        ::ShellExecuteW(nullptr, nullptr, AsWide(Target), nullptr, nullptr, SW_SHOWNORMAL));
    return TShellOpenResult{code > 32, code};
}

} // namespace platform::win32
