#pragma once
// Named mutexes for native tests: the names this process holds, names a test says another process
// holds, and an error code the next claims fail with. It is a test double, not a product.
#include "platform/Platform.NamedMutex.h"

#include <cstdint>
#include <set>
#include <string>

namespace platform::sim {

class TSimNamedMutexes final : public INamedMutexes {
public:
    // Another process created `Name` (and keeps it until ReleaseElsewhere).
    void HoldElsewhere(const std::u16string& Name) { FElsewhere.insert(Name); }
    void ReleaseElsewhere(const std::u16string& Name) { FElsewhere.erase(Name); }
    // Claims fail with `Code` from now on (0 lets them succeed again).
    void RefuseClaims(std::uint32_t Code) { FRefusal = Code; }
    // Held by this process through a live hold.
    bool HeldHere(const std::u16string& Name) const { return FHere.count(Name) != 0; }
    int ClaimCount() const { return FClaims; }

    // Names compare with case, as the system's object names do.
    [[nodiscard]] TMutexClaim Claim(const std::u16string& Name) override;

private:
    class THold;
    std::set<std::u16string> FHere;
    std::set<std::u16string> FElsewhere;
    std::uint32_t FRefusal = 0;
    int FClaims = 0;
};

} // namespace platform::sim
