#include "toolkit/Toolkit.RangeControl.h"

#include <algorithm>

namespace toolkit {

void TRangeControl::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin) {
        ReversedRange();
        return;
    }
    APosition = std::clamp(APosition, AMin, AMax);
    const bool rangeChanged = AMin != FMin || AMax != FMax;
    const bool positionChanged = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    if (rangeChanged || positionChanged) {
        Changed(TChange::State);
    }
    if (positionChanged) {
        Change();
    }
}

void TRangeControl::Change() {
    if (OnChange) {
        OnChange(this);
    }
}

} // namespace toolkit
