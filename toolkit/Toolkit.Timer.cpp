#include "toolkit/Toolkit.Timer.h"

#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"

namespace toolkit {

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    UpdateTimer();
}

TTimer::~TTimer() {
    Application().Backend().StopTimer(*this);
}

void TTimer::SetInterval(std::uint32_t Ms) {
    if (Ms == FInterval) {
        return;
    }
    FInterval = Ms;
    UpdateTimer();
}

void TTimer::SetEnabled(bool Value) {
    if (!UpdateField(FEnabled, Value)) {
        return;
    }
    UpdateTimer();
}

void TTimer::Fire() {
    // A backend may still deliver a tick it had counted before the timer was stopped.
    if (FEnabled && FInterval != 0 && OnTimer) {
        OnTimer(this);
    }
}

void TTimer::UpdateTimer() {
    IBackend& backend = Application().Backend();
    if (FEnabled && FInterval != 0) {
        backend.StartTimer(*this, FInterval);
    } else {
        backend.StopTimer(*this);
    }
}

} // namespace toolkit
