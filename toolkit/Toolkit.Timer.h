#pragma once
// TTimer: runs OnTimer every Interval milliseconds while Enabled, counted by the backend.
#include "toolkit/Toolkit.Component.h"

#include <cstdint>

namespace toolkit {

// Changing the interval of an enabled timer restarts its countdown; setting the value it already
// has changes nothing; enabling starts a fresh countdown; an interval of 0 never fires. A timer
// counts from its construction, as a timer set up with its form does.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    std::u16string ClassName() const override { return u"TTimer"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckTimer; }

    std::uint32_t Interval() const { return FInterval; }
    void SetInterval(std::uint32_t Ms);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    TNotifyEvent OnTimer;

    // The backend's countdown ended: runs OnTimer.
    void Fire();

private:
    // Arms or stops the backend's countdown to match Enabled and Interval.
    void UpdateTimer();

    std::uint32_t FInterval = 1000;
    bool FEnabled = true;
};

} // namespace toolkit
