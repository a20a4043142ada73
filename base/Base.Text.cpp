#include "base/Base.Text.h"

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool HasLineBreak(std::u16string_view text) {
    const std::size_t n = text.size();
#if defined(__SSE2__)
    // Sixteen units a step (every x86-64 processor has SSE2); the last step overlaps the one
    // before it rather than finishing one unit at a time.
    if (n >= 16) {
        const __m128i cr = _mm_set1_epi16(u'\r');
        const __m128i lf = _mm_set1_epi16(u'\n');
        __m128i hit = _mm_setzero_si128();
        for (std::size_t at = 0;; at = std::min(at + 16, n - 16)) {
            const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
            const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at + 8));
            hit = _mm_or_si128(hit, _mm_or_si128(_mm_cmpeq_epi16(lo, cr), _mm_cmpeq_epi16(lo, lf)));
            hit = _mm_or_si128(hit, _mm_or_si128(_mm_cmpeq_epi16(hi, cr), _mm_cmpeq_epi16(hi, lf)));
            if (at + 16 == n) {
                break;
            }
        }
        return _mm_movemask_epi8(hit) != 0;
    }
#endif
    for (const char16_t c : text) {
        if (c == u'\r' || c == u'\n') {
            return true;
        }
    }
    return false;
}

} // namespace base
