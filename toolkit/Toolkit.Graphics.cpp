#include "toolkit/Toolkit.Graphics.h"

#include <cstdlib>

namespace toolkit {

namespace {

// Value * Numerator / Denominator, rounded half away from zero, as Windows' MulDiv rounds.
int MulDiv(int Value, int Numerator, int Denominator) {
    if (Denominator == 0) {
        return -1;
    }
    const long long product = static_cast<long long>(Value) * Numerator;
    const long long half = std::llabs(static_cast<long long>(Denominator)) / 2;
    const bool negative = (product < 0) != (Denominator < 0);
    const long long magnitude =
        (std::llabs(product) + half) / std::llabs(static_cast<long long>(Denominator));
    return static_cast<int>(negative ? -magnitude : magnitude);
}

} // namespace

void TFont::SetName(const std::u16string& Value) {
    if (UpdateField(FName, Value)) {
        Changed();
    }
}

int TFont::Size() const {
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int Points) {
    SetHeight(-MulDiv(Points, FPixelsPerInch, 72));
}

void TFont::SetHeight(int Pixels) {
    if (Pixels == FHeight) {
        return;
    }
    FHeight = Pixels;
    Changed();
}

void TFont::SetColor(TColor Value) {
    if (UpdateField(FColor, Value)) {
        Changed();
    }
}

void TFont::SetStyle(TFontStyles Value) {
    if (UpdateField(FStyle, Value)) {
        Changed();
    }
}

void TFont::SetCharset(std::uint8_t Value) {
    if (UpdateField(FCharset, Value)) {
        Changed();
    }
}

void TFont::Assign(const TFont& Source) {
    FName = Source.FName;
    FHeight = Source.FHeight;
    FColor = Source.FColor;
    FStyle = Source.FStyle;
    FCharset = Source.FCharset;
    Changed();
}

bool TFont::SameAs(const TFont& Other) const {
    return FName == Other.FName && FHeight == Other.FHeight && FColor == Other.FColor &&
           FStyle == Other.FStyle && FCharset == Other.FCharset;
}

void TFont::Changed() {
    if (OnChange) {
        OnChange();
    }
}

} // namespace toolkit
