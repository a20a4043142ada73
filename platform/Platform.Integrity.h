#pragma once
#include "platform/Platform.Types.h"

namespace platform {

// Integrity levels of processes, or UnknownIntegrityLevel when the token cannot be read.
class IIntegrity {
public:
    virtual ~IIntegrity() = default;
    virtual std::uint32_t OwnIntegrityLevel() const = 0;
    virtual std::uint32_t ProcessIntegrityLevel(TProcessId Pid) const = 0;
};

} // namespace platform
