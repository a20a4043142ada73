#include "toolkit/Toolkit.Spin.h"

#include "base/Base.Format.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace toolkit {

namespace {

// The whole text as a decimal number (blanks around it allowed), or nothing.
bool ParseInt(const std::u16string& Text, int& Result) {
    std::string narrow;
    for (char16_t c : Text) {
        if (c > 0x7F) {
            return false;
        }
        if (c != u' ') {
            narrow += static_cast<char>(c);
        }
    }
    const char* end = narrow.data() + narrow.size();
    const auto [ptr, error] = std::from_chars(narrow.data(), end, Result);
    return error == std::errc() && ptr == end && !narrow.empty();
}

} // namespace

TSpinEdit::TSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
    SetText(u"0");
}

int TSpinEdit::CheckValue(int Value) const {
    if (FMaxValue > FMinValue) {
        return std::clamp(Value, FMinValue, FMaxValue);
    }
    return Value;
}

int TSpinEdit::Value() const {
    int value = 0;
    if (!ParseInt(Text(), value)) {
        value = FMinValue;
    }
    return CheckValue(value);
}

void TSpinEdit::SetValue(int Value) {
    const std::u16string text = base::Format(u"{0}", CheckValue(Value));
    if (Text() != text) {
        SetText(text);
    }
}

void TSpinEdit::SetMinValue(int Value) {
    FMinValue = Value;
    SetValue(this->Value());
}

void TSpinEdit::SetMaxValue(int Value) {
    FMaxValue = Value;
    SetValue(this->Value());
}

} // namespace toolkit
