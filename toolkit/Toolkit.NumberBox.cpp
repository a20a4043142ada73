#include "toolkit/Toolkit.NumberBox.h"

#include "base/Base.Format.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace toolkit {

TNumberBox::TNumberBox(TComponent* AOwner) : TCustomEdit(AOwner) {
    ShowValue();
}

double TNumberBox::Constrained(double Value) const {
    if (FMaxValue > FMinValue) {
        return std::clamp(Value, FMinValue, FMaxValue);
    }
    return Value;
}

void TNumberBox::SetValue(double Value) {
    const double value = Constrained(Value);
    if (value == FValue) {
        return;
    }
    FValue = value;
    ShowValue();
    if (OnChangeValue) {
        OnChangeValue(this);
    }
}

void TNumberBox::SetMinValue(double Value) {
    FMinValue = Value;
    SetValue(FValue);
}

void TNumberBox::SetMaxValue(double Value) {
    FMaxValue = Value;
    SetValue(FValue);
}

void TNumberBox::SetMode(TNumberBoxMode Value) {
    if (UpdateField(FMode, Value)) {
        ShowValue();
    }
}

void TNumberBox::ShowValue() {
    const double shown = FMode == TNumberBoxMode::nbmInteger ? std::round(FValue) : FValue;
    SetText(base::Format(u"{0}", shown));
}

} // namespace toolkit
