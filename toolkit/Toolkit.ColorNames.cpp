#include "toolkit/Toolkit.ColorNames.h"

#include "base/Base.Text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace toolkit {

namespace {

struct TColorName {
    TColor Color;
    std::u16string_view Name;
};

constexpr TColor SystemColor(int Index) {
    return clSystemColor | Index;
}

// One name per value, so that writing a colour and reading it back gives the same name.
constexpr std::array<TColorName, 45> ColorNames{{
    {clBlack, u"clBlack"},
    {clMaroon, u"clMaroon"},
    {clGreen, u"clGreen"},
    {clOlive, u"clOlive"},
    {clNavy, u"clNavy"},
    {clPurple, u"clPurple"},
    {clTeal, u"clTeal"},
    {clGray, u"clGray"},
    {clSilver, u"clSilver"},
    {clRed, u"clRed"},
    {clLime, u"clLime"},
    {clYellow, u"clYellow"},
    {clBlue, u"clBlue"},
    {clFuchsia, u"clFuchsia"},
    {clAqua, u"clAqua"},
    {clWhite, u"clWhite"},
    {clNone, u"clNone"},
    {clDefault, u"clDefault"},
    // The system colours, by their index in Windows' colour table.
    {SystemColor(0), u"clScrollBar"},
    {SystemColor(1), u"clBackground"},
    {SystemColor(2), u"clActiveCaption"},
    {SystemColor(3), u"clInactiveCaption"},
    {SystemColor(4), u"clMenu"},
    {clWindow, u"clWindow"},
    {SystemColor(6), u"clWindowFrame"},
    {SystemColor(7), u"clMenuText"},
    {clWindowText, u"clWindowText"},
    {SystemColor(9), u"clCaptionText"},
    {SystemColor(10), u"clActiveBorder"},
    {SystemColor(11), u"clInactiveBorder"},
    {SystemColor(12), u"clAppWorkSpace"},
    {clHighlight, u"clHighlight"},
    {SystemColor(14), u"clHighlightText"},
    {clBtnFace, u"clBtnFace"},
    {SystemColor(16), u"clBtnShadow"},
    {SystemColor(17), u"clGrayText"},
    {clBtnText, u"clBtnText"},
    {SystemColor(19), u"clInactiveCaptionText"},
    {SystemColor(20), u"clBtnHighlight"},
    {SystemColor(21), u"cl3DDkShadow"},
    {SystemColor(22), u"cl3DLight"},
    {SystemColor(23), u"clInfoText"},
    {clInfoBk, u"clInfoBk"},
    {clHotLight, u"clHotLight"},
    {SystemColor(29), u"clMenuHighlight"},
}};

int HexDigit(char16_t C) {
    if (C >= u'0' && C <= u'9') {
        return C - u'0';
    }
    if (C >= u'a' && C <= u'f') {
        return C - u'a' + 10;
    }
    if (C >= u'A' && C <= u'F') {
        return C - u'A' + 10;
    }
    return -1;
}

// Up to 8 hexadecimal digits, nothing else.
std::optional<std::uint32_t> ParseHex(std::u16string_view Digits) {
    if (Digits.empty() || Digits.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char16_t c : Digits) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::optional<TColor> ParseDecimal(std::u16string_view Text) {
    bool negative = false;
    if (!Text.empty() && (Text.front() == u'-' || Text.front() == u'+')) {
        negative = Text.front() == u'-';
        Text.remove_prefix(1);
    }
    if (Text.empty() || Text.size() > 10) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char16_t c : Text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<TColor>::min() || value > std::numeric_limits<TColor>::max()) {
        return std::nullopt;
    }
    return static_cast<TColor>(value);
}

// "#RGB" doubles each digit; the red digits go into the low byte, as TColor keeps 0x00BBGGRR.
std::optional<TColor> ParseHtml(std::u16string_view Digits) {
    if (Digits.size() != 3 && Digits.size() != 6) {
        return std::nullopt;
    }
    const auto rgb = ParseHex(Digits);
    if (!rgb) {
        return std::nullopt;
    }
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
    if (Digits.size() == 3) {
        red = ((*rgb >> 8) & 0xF) * 0x11;
        green = ((*rgb >> 4) & 0xF) * 0x11;
        blue = (*rgb & 0xF) * 0x11;
    } else {
        red = (*rgb >> 16) & 0xFF;
        green = (*rgb >> 8) & 0xFF;
        blue = *rgb & 0xFF;
    }
    return static_cast<TColor>(red | (green << 8) | (blue << 16));
}

std::optional<TColor> AsColor(std::optional<std::uint32_t> Pattern) {
    if (!Pattern) {
        return std::nullopt;
    }
    return static_cast<TColor>(*Pattern);
}

std::u16string HexText(std::uint32_t Value) {
    static constexpr char16_t Digits[] = u"0123456789ABCDEF";
    std::u16string text(9, u'0');
    text[0] = u'$';
    for (int i = 8; i >= 1; --i) {
        text[static_cast<std::size_t>(i)] = Digits[Value & 0xF];
        Value >>= 4;
    }
    return text;
}

} // namespace

std::u16string ColorToString(TColor Color) {
    for (const TColorName& entry : ColorNames) {
        if (entry.Color == Color) {
            return std::u16string(entry.Name);
        }
    }
    return HexText(static_cast<std::uint32_t>(Color));
}

std::optional<TColor> IdentToColor(std::u16string_view Ident) {
    for (const TColorName& entry : ColorNames) {
        if (base::SameTextAscii(entry.Name, Ident)) {
            return entry.Color;
        }
    }
    return std::nullopt;
}

TColor StringToColor(std::u16string_view Text) {
    std::optional<TColor> color = IdentToColor(Text);
    if (!color && !Text.empty() && Text.front() == u'#') {
        color = ParseHtml(Text.substr(1));
    } else if (!color && !Text.empty() && Text.front() == u'$') {
        color = AsColor(ParseHex(Text.substr(1)));
    } else if (!color && Text.size() > 2 && Text[0] == u'0' && base::FoldAscii(Text[1]) == u'x') {
        color = AsColor(ParseHex(Text.substr(2)));
    } else if (!color) {
        color = ParseDecimal(Text);
    }
    if (!color) {
        throw EConvertError(u"'" + std::u16string(Text) + u"' is not a valid colour value");
    }
    return *color;
}

} // namespace toolkit
