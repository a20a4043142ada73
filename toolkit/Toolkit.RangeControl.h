#pragma once
// TRangeControl: a control whose value is a position within a range (scroll bar, track bar).
// Position stays within [Min, Max]: a range that no longer holds it moves it to the nearer end.
// OnChange runs whenever Position changes, also through a new range.
#include "toolkit/Toolkit.Control.h"

namespace toolkit {

class TRangeControl : public TControl {
public:
    int Min() const { return FMin; }
    void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
    int Position() const { return FPosition; }
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    // Sets all three at once, the position clamped into the range. A range whose maximum lies below
    // its minimum changes nothing; ReversedRange decides whether it also raises.
    void SetParams(int APosition, int AMin, int AMax);

    TNotifyEvent OnChange;

protected:
    TRangeControl(TComponent* AOwner, int AMax) : TControl(AOwner), FMax(AMax) {}

    // Called for a range with AMax < AMin before anything changes: raises to refuse it loudly;
    // returning (the default) ignores it.
    virtual void ReversedRange() {}
    // Runs OnChange.
    virtual void Change();

private:
    int FMin = 0;
    int FMax;
    int FPosition = 0;
};

} // namespace toolkit
