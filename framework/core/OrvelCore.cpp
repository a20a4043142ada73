#include "framework/core/OrvelCore.h"

#include <algorithm>

namespace orvel {
namespace {

// Simple one-to-one lower-case mapping for the scripts a user interface of this framework is
// translated into; other code units compare as they are.
char16_t FoldCase(char16_t C) {
    const auto inRange = [C](char16_t Lo, char16_t Hi) { return C >= Lo && C <= Hi; };
    if (inRange(u'A', u'Z')) {
        return C + 0x20;
    }
    if (C < 0xC0) {
        return C;
    }
    if (inRange(0xC0, 0xDE) && C != 0xD7) { // Latin-1 capitals, not the multiplication sign
        return C + 0x20;
    }
    // Latin Extended-A: capitals and small letters alternate; the dotted and dotless i (0x130,
    // 0x131) have no one-to-one partner and stay.
    if (inRange(0x100, 0x12F) || inRange(0x132, 0x137) || inRange(0x14A, 0x177)) {
        return (C % 2 == 0) ? C + 1 : C;
    }
    if (inRange(0x139, 0x148) || inRange(0x179, 0x17E)) {
        return (C % 2 == 1) ? C + 1 : C;
    }
    if (C == 0x178) {
        return 0xFF;
    }
    // Greek
    if (inRange(0x391, 0x3A9)) {
        return C + 0x20;
    }
    if (C == 0x3C2) { // final sigma
        return 0x3C3;
    }
    if (C == 0x386) {
        return 0x3AC;
    }
    if (inRange(0x388, 0x38A)) {
        return C + 0x25;
    }
    if (C == 0x38C) {
        return 0x3CC;
    }
    if (inRange(0x38E, 0x38F)) {
        return C + 0x3F;
    }
    // Cyrillic
    if (inRange(0x400, 0x40F)) {
        return C + 0x50;
    }
    if (inRange(0x410, 0x42F)) {
        return C + 0x20;
    }
    return C;
}

std::u16string Folded(const std::u16string& Text) {
    std::u16string out(Text);
    std::transform(out.begin(), out.end(), out.begin(), FoldCase);
    return out;
}

// Case-sensitive replacement of every occurrence, left to right, without re-scanning.
std::u16string ReplaceAll(const std::u16string& Text, std::u16string_view Old, std::u16string_view New) {
    std::u16string out;
    out.reserve(Text.size());
    std::size_t from = 0;
    for (std::size_t at = Text.find(Old); at != std::u16string::npos; at = Text.find(Old, from)) {
        out.append(Text, from, at - from);
        out.append(New);
        from = at + Old.size();
    }
    out.append(Text, from);
    return out;
}

bool IsLoneCR(const std::u16string& Text, std::size_t I) {
    return Text[I] == CR && (I + 1 == Text.size() || Text[I + 1] != LF);
}

bool IsLoneLF(const std::u16string& Text, std::size_t I) {
    return Text[I] == LF && (I == 0 || Text[I - 1] != CR);
}

// Puts With in place of every character that isLone picks, in one pass.
template <class TPredicate>
std::u16string ReplaceLone(const std::u16string& Text, const std::u16string& With, TPredicate IsLone) {
    std::size_t lone = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        lone += IsLone(Text, i) ? 1 : 0;
    }
    if (lone == 0) {
        return Text;
    }
    std::u16string out;
    out.reserve(Text.size() - lone + lone * With.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (IsLone(Text, i)) {
            out += With;
        } else {
            out += Text[i];
        }
    }
    return out;
}

} // namespace

std::u16string ReplaceAllNoCase(const std::u16string& Text, const std::u16string& Old,
                                const std::u16string& New) {
    if (Old.empty()) {
        return Text;
    }
    // Folding keeps every code unit in place, so positions found in the folded text hold in Text.
    const std::u16string text = Folded(Text);
    const std::u16string old = Folded(Old);
    std::u16string out;
    std::size_t from = 0;
    for (std::size_t at = text.find(old); at != std::u16string::npos; at = text.find(old, from)) {
        out.append(Text, from, at - from);
        out += New;
        from = at + old.size();
    }
    out.append(Text, from);
    return out;
}

std::u16string ReplaceLineBreaks(const std::u16string& Text, const std::u16string& With) {
    std::u16string out;
    out.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char16_t c = Text[i];
        if (c == CR || c == LF) {
            out += With;
            if (c == CR && i + 1 < Text.size() && Text[i + 1] == LF) {
                ++i;
            }
        } else {
            out += c;
        }
    }
    return out;
}

std::u16string ReplaceWideChars(const std::u16string& Text, char16_t With) {
    std::u16string out(Text);
    std::replace_if(
        out.begin(), out.end(), [](char16_t C) { return C > 255; }, With);
    return out;
}

std::u16string ReplaceLoneCR(const std::u16string& Text, const std::u16string& With) {
    return ReplaceLone(Text, With, IsLoneCR);
}

std::u16string ReplaceLoneLF(const std::u16string& Text, const std::u16string& With) {
    return ReplaceLone(Text, With, IsLoneLF);
}

std::u16string ExpandCrlfTokens(const std::u16string& Text) {
    const std::u16string_view token = CrlfToken;
    const std::u16string tokenBlank = std::u16string(token) + u' ';
    const std::u16string blankToken = u' ' + std::u16string(token);
    std::u16string out = ReplaceAll(Text, tokenBlank, token);
    out = ReplaceAll(out, blankToken, token);
    return ReplaceAll(out, token, u"\r\n");
}

std::u16string InsertCrlfTokens(const std::u16string& Text) {
    return ReplaceAll(Text, u"\r\n", u' ' + std::u16string(CrlfToken) + u' ');
}

std::u16string CopyRange(const std::u16string& Text, std::ptrdiff_t From, std::ptrdiff_t To) {
    const auto size = static_cast<std::ptrdiff_t>(Text.size());
    const std::ptrdiff_t first = std::max<std::ptrdiff_t>(From, 1);
    const std::ptrdiff_t last = std::min(To, size);
    if (last < first) {
        return {};
    }
    return Text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

std::u16string FirstCharStr(const std::u16string& Text) {
    return Text.substr(0, 1);
}

std::u16string LastCharStr(const std::u16string& Text) {
    return Text.empty() ? std::u16string() : Text.substr(Text.size() - 1);
}

std::size_t LastIndexOfChar(char16_t Ch, const std::u16string& Text) {
    const std::size_t at = Text.rfind(Ch);
    return at == std::u16string::npos ? 0 : at + 1;
}

std::u16string TrimControl(const std::u16string& Text) {
    const auto keep = [](char16_t C) { return C >= 33; };
    const auto first = std::find_if(Text.begin(), Text.end(), keep);
    const auto last = std::find_if(Text.rbegin(), Text.rend(), keep).base();
    return first < last ? std::u16string(first, last) : std::u16string();
}

} // namespace orvel
