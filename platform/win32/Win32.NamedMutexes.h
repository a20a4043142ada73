#pragma once
#include "platform/Platform.NamedMutex.h"

namespace platform::win32 {

class TWin32NamedMutexes final : public INamedMutexes {
public:
    // CreateMutexW in the session's "Local\" namespace. ERROR_ALREADY_EXISTS, and an access
    // denial (a mutex of that name made by another security context), both mean another process
    // was first.
    [[nodiscard]] TMutexClaim Claim(const std::u16string& Name) override;
};

} // namespace platform::win32
