#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// A named mutex this process holds; destroying the object lets go of it.
class INamedMutexHold {
public:
    virtual ~INamedMutexHold() = default;
};

enum class TMutexClaimState : std::uint8_t {
    Acquired,      // this process created the mutex and now holds it
    HeldElsewhere, // the name exists already: another process created it first
    Failed         // the system refused to create or open it (Code says why)
};

struct TMutexClaim {
    TMutexClaimState State = TMutexClaimState::Failed;
    std::unique_ptr<INamedMutexHold> Hold; // set only for Acquired
    std::uint32_t Code = 0;                // the system's error code for Failed
};

// Named mutexes in the namespace of the user's logon session, so that two programs started at the
// same moment can tell which one came first: creating a name is atomic across processes.
class INamedMutexes {
public:
    virtual ~INamedMutexes() = default;
    // Creates the mutex `Name` and holds it, unless it exists already. Names hold no backslash.
    [[nodiscard]] virtual TMutexClaim Claim(const std::u16string& Name) = 0;
};

} // namespace platform
