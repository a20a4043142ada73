#include "platform/win32/Win32.NamedMutexes.h"

#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Text.h"

namespace platform::win32 {

namespace {

// Keeps the mutex alive for as long as the process wants to be the one that holds it.
class TMutexHold final : public INamedMutexHold {
public:
    explicit TMutexHold(TKernelHandle Handle) : FHandle(std::move(Handle)) {}

private:
    TKernelHandle FHandle;
};

} // namespace

TMutexClaim TWin32NamedMutexes::Claim(const std::u16string& Name) {
    TMutexClaim claim;
    if (HasEmbeddedNul(Name)) {
        claim.Code = ERROR_INVALID_NAME;
        return claim;
    }
    const std::u16string fullName = u"Local\\" + Name;
    TKernelHandle handle(::CreateMutexW(nullptr, FALSE, AsWide(fullName)));
    const DWORD error = ::GetLastError();
    if (!handle) {
        claim.State =
            error == ERROR_ACCESS_DENIED ? TMutexClaimState::HeldElsewhere : TMutexClaimState::Failed;
        claim.Code = error;
        return claim;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        claim.State = TMutexClaimState::HeldElsewhere;
        return claim;
    }
    claim.State = TMutexClaimState::Acquired;
    claim.Hold = std::make_unique<TMutexHold>(std::move(handle));
    return claim;
}

} // namespace platform::win32
