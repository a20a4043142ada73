#pragma once
// TNumberBox: an edit for a floating-point number.
#include "toolkit/Toolkit.StdCtrls.h"

namespace toolkit {

enum class TNumberBoxMode : std::uint8_t { nbmInteger, nbmFloat, nbmCurrency };

// Value is kept within [MinValue, MaxValue] when MaxValue > MinValue; the text shows it (shortest
// form with a decimal point; whole numbers in integer mode). OnChangeValue runs when Value changes.
class TNumberBox : public TCustomEdit {
public:
    explicit TNumberBox(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TNumberBox"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckNumberBox; }

    double Value() const { return FValue; }
    void SetValue(double Value);
    double MinValue() const { return FMinValue; }
    void SetMinValue(double Value);
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double Value);
    TNumberBoxMode Mode() const { return FMode; }
    void SetMode(TNumberBoxMode Value);

    TNotifyEvent OnChangeValue;

private:
    double Constrained(double Value) const;
    void ShowValue();

    double FValue = 0;
    double FMinValue = 0;
    double FMaxValue = 0;
    TNumberBoxMode FMode = TNumberBoxMode::nbmInteger;
};

} // namespace toolkit
