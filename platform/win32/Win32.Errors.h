#pragma once
// The one error the Win32 backends raise when a call the program cannot do without fails (a
// window class, a window): the call named, the system's code and its own words for it.
#include "base/Base.Exceptions.h"

#include <cstdint>
#include <string_view>

namespace platform::win32 {

class EOSError : public base::EOrvelException {
public:
    // The message reads "What: the system's text".
    EOSError(std::u16string_view What, std::uint32_t Code);
    std::uint32_t ErrorCode() const noexcept { return FErrorCode; }

private:
    std::uint32_t FErrorCode;
};

// Raises EOSError for What with the calling thread's last-error code.
[[noreturn]] void ThrowLastError(std::u16string_view What);

} // namespace platform::win32
