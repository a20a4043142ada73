#pragma once
// TSpinEdit: an edit for a whole number with up and down arrows.
#include "toolkit/Toolkit.StdCtrls.h"

namespace toolkit {

// The value lives in the text. Value reads the text as a number (MinValue when it is none) and
// keeps it within [MinValue, MaxValue] when MaxValue > MinValue; 0 and 0 mean no limits.
class TSpinEdit : public TCustomEdit {
public:
    explicit TSpinEdit(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TSpinEdit"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckSpinEdit; }

    int Value() const;
    void SetValue(int Value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    // The arrows: Value plus or minus Increment.
    void StepUp() { SetValue(Value() + FIncrement); }
    void StepDown() { SetValue(Value() - FIncrement); }

protected:
    int CheckValue(int Value) const;

private:
    int FMinValue = 0;
    int FMaxValue = 0;
    int FIncrement = 1;
};

} // namespace toolkit
