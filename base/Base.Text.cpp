#include "base/Base.Text.h"

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace base {

bool SameTextAscii(std::u16string_view A, std::u16string_view B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char16_t X, char16_t Y) {
               return FoldAscii(X) == FoldAscii(Y);
           });
}

bool StartsWithTextAscii(std::u16string_view Text, std::u16string_view Prefix) {
    return Text.size() >= Prefix.size() && SameTextAscii(Text.substr(0, Prefix.size()), Prefix);
}

std::u16string FoldedAscii(std::u16string_view Text) {
    std::u16string folded(Text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldAscii);
    return folded;
}

std::u16string_view TrimBlanks(std::u16string_view Text) {
    while (!Text.empty() && IsBlank(Text.front())) {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && IsBlank(Text.back())) {
        Text.remove_suffix(1);
    }
    return Text;
}

bool HasLineBreak(std::u16string_view Text) {
    const std::size_t n = Text.size();
#if defined(__SSE2__)
    // Sixteen units a step (every x86-64 processor has SSE2); the last step overlaps the one
    // before it rather than finishing one unit at a time.
    if (n >= 16) {
        const __m128i cr = _mm_set1_epi16(u'\r');
        const __m128i lf = _mm_set1_epi16(u'\n');
        __m128i hit = _mm_setzero_si128();
        for (std::size_t at = 0;; at = std::min(at + 16, n - 16)) {
            const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Text.data() + at));
            const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Text.data() + at + 8));
            hit = _mm_or_si128(hit, _mm_or_si128(_mm_cmpeq_epi16(lo, cr), _mm_cmpeq_epi16(lo, lf)));
            hit = _mm_or_si128(hit, _mm_or_si128(_mm_cmpeq_epi16(hi, cr), _mm_cmpeq_epi16(hi, lf)));
            if (at + 16 == n) {
                break;
            }
        }
        return _mm_movemask_epi8(hit) != 0;
    }
#endif
    for (const char16_t c : Text) {
        if (c == u'\r' || c == u'\n') {
            return true;
        }
    }
    return false;
}

} // namespace base
