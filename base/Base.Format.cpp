#include "base/Base.Format.h"

#include "base/Base.Exceptions.h"
#include "base/Base.Numbers.h"

namespace base {

namespace {

void AppendDecimal(std::u16string& Out, std::uint64_t Magnitude, bool Negative) {
    char16_t digits[20]; // 18446744073709551615 has twenty
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + Magnitude % 10);
        Magnitude /= 10;
    } while (Magnitude != 0);
    if (Negative) {
        Out += u'-';
    }
    while (count > 0) {
        Out += digits[--count];
    }
}

} // namespace

void TFormatArg::AppendTo(std::u16string& Out) const {
    switch (FKind) {
    case TKind::Signed:
        // The magnitude in unsigned arithmetic, so that the smallest int64 has one as well.
        AppendDecimal(
            Out, FSigned < 0 ? 0 - static_cast<std::uint64_t>(FSigned) : static_cast<std::uint64_t>(FSigned),
            FSigned < 0);
        break;
    case TKind::Unsigned:
        AppendDecimal(Out, FUnsigned, false);
        break;
    case TKind::Double:
        for (const char c : FormatDouble(FDouble)) {
            Out += static_cast<char16_t>(c);
        }
        break;
    case TKind::Text:
        Out += FText;
        break;
    }
}

std::u16string FormatList(std::u16string_view Pattern, std::initializer_list<TFormatArg> Args) {
    std::u16string out;
    out.reserve(Pattern.size() + 16 * Args.size());
    std::size_t at = 0;
    while (at < Pattern.size()) {
        const char16_t c = Pattern[at];
        if (c != u'{') {
            out += c;
            ++at;
            continue;
        }
        if (at + 1 < Pattern.size() && Pattern[at + 1] == u'{') {
            out += u'{';
            at += 2;
            continue;
        }
        // "{" digits "}" is a placeholder; anything else is plain text.
        std::size_t end = at + 1;
        std::size_t index = 0;
        while (end < Pattern.size() && Pattern[end] >= u'0' && Pattern[end] <= u'9') {
            // Past the last argument it stays past it, without overflowing on a long number.
            if (index <= Args.size()) {
                index = index * 10 + static_cast<std::size_t>(Pattern[end] - u'0');
            }
            ++end;
        }
        if (end == at + 1 || end >= Pattern.size() || Pattern[end] != u'}') {
            out += c;
            ++at;
            continue;
        }
        Assert(index < Args.size(), u"Format: a placeholder names an argument that was not given");
        (Args.begin() + index)->AppendTo(out);
        at = end + 1;
    }
    return out;
}

} // namespace base
