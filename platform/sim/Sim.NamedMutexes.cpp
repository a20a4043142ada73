#include "platform/sim/Sim.NamedMutexes.h"

namespace platform::sim {

class TSimNamedMutexes::THold final : public INamedMutexHold {
public:
    THold(std::set<std::u16string>& Held, std::u16string Name) : FHeld(Held), FName(std::move(Name)) {
        FHeld.insert(FName);
    }
    ~THold() override { FHeld.erase(FName); }

private:
    std::set<std::u16string>& FHeld;
    std::u16string FName;
};

TMutexClaim TSimNamedMutexes::Claim(const std::u16string& Name) {
    ++FClaims;
    TMutexClaim claim;
    if (FRefusal != 0) {
        claim.State = TMutexClaimState::Failed;
        claim.Code = FRefusal;
        return claim;
    }
    // A name that exists answers "already exists", also to the process that holds it.
    if (FHere.count(Name) != 0 || FElsewhere.count(Name) != 0) {
        claim.State = TMutexClaimState::HeldElsewhere;
        return claim;
    }
    claim.State = TMutexClaimState::Acquired;
    claim.Hold = std::make_unique<THold>(FHere, Name);
    return claim;
}

} // namespace platform::sim
