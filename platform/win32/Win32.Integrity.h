#pragma once
#include "platform/Platform.Integrity.h"

namespace platform::win32 {

class TWin32Integrity final : public IIntegrity {
public:
    std::uint32_t OwnIntegrityLevel() const override;
    // Opens the process with PROCESS_QUERY_INFORMATION, not the limited right: an elevated
    // process then refuses a normal caller, and that refusal is the answer the target check needs.
    std::uint32_t ProcessIntegrityLevel(TProcessId Pid) const override;
};

} // namespace platform::win32
