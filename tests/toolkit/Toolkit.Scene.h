#pragma once
// The scene every toolkit test runs in: a simulated platform, the headless backend on it and one
// application.
#include "platform/sim/Sim.Platform.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/headless/Headless.Backend.h"

#include <string>
#include <vector>

namespace toolkit::testing {

struct TScene {
    platform::sim::TSimPlatform Sim;
    headless::THeadlessBackend Backend{Sim};
    TApplication App{Backend, Sim.MainThread};
};

// A component that writes its name into a shared journal when it is destroyed.
class TJournaled : public TComponent {
public:
    TJournaled(TComponent* AOwner, std::u16string AName, std::vector<std::u16string>& Journal)
        : TComponent(AOwner), FJournal(Journal) {
        SetName(std::move(AName));
    }
    ~TJournaled() override { FJournal.push_back(Name()); }
    std::u16string ClassName() const override { return u"TJournaled"; }

private:
    std::vector<std::u16string>& FJournal;
};

} // namespace toolkit::testing
