#include "platform/win32/Win32.Errors.h"

#include "platform/win32/Win32.Text.h"

namespace platform::win32 {

EOSError::EOSError(std::u16string_view What, std::uint32_t Code)
    : EOrvelException(std::u16string(What) + u": " + SystemErrorMessage(Code)), FErrorCode(Code) {}

void ThrowLastError(std::u16string_view What) {
    // Read before anything else runs: building the message may reset it.
    const DWORD code = GetLastError();
    throw EOSError(What, code);
}

} // namespace platform::win32
