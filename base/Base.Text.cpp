#include "base/Base.Text.h"

#include <algorithm>
#include <cstdint>

namespace base {

bool SameTextAscii(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

bool StartsWithTextAscii(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && SameTextAscii(text.substr(0, prefix.size()), prefix);
}

std::u16string FoldedAscii(std::u16string_view text) {
    std::u16string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldAscii);
    return folded;
}

bool HasLineBreak(std::u16string_view text) {
    // No early exit and a 16-bit result: the compiler turns this into vector compares, several
    // times faster on a log line than stopping at the first break would be.
    std::uint16_t found = 0;
    for (const char16_t c : text) {
        found |= static_cast<std::uint16_t>((c == u'\r') | (c == u'\n'));
    }
    return found != 0;
}

} // namespace base
