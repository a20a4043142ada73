#include "base/Base.Unicode.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace base {
namespace {

constexpr char32_t ReplacementChar = 0xFFFD;

char* PutUtf8(char* Out, char32_t Cp) {
    if (Cp < 0x80) {
        *Out++ = static_cast<char>(Cp);
    } else if (Cp < 0x800) {
        *Out++ = static_cast<char>(0xC0 | (Cp >> 6));
        *Out++ = static_cast<char>(0x80 | (Cp & 0x3F));
    } else if (Cp < 0x10000) {
        *Out++ = static_cast<char>(0xE0 | (Cp >> 12));
        *Out++ = static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
        *Out++ = static_cast<char>(0x80 | (Cp & 0x3F));
    } else {
        *Out++ = static_cast<char>(0xF0 | (Cp >> 18));
        *Out++ = static_cast<char>(0x80 | ((Cp >> 12) & 0x3F));
        *Out++ = static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
        *Out++ = static_cast<char>(0x80 | (Cp & 0x3F));
    }
    return Out;
}

char16_t* PutUtf16(char16_t* Out, char32_t Cp) {
    if (Cp < 0x10000) {
        *Out++ = static_cast<char16_t>(Cp);
    } else {
        Cp -= 0x10000;
        *Out++ = static_cast<char16_t>(0xD800 + (Cp >> 10));
        *Out++ = static_cast<char16_t>(0xDC00 + (Cp & 0x3FF));
    }
    return Out;
}


// The UTF-8 length of text, counted the way Utf16ToUtf8 writes it.
std::size_t Utf8Length(std::u16string_view Text) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char16_t u = Text[i];
        if (u < 0x80) {
            bytes += 1;
        } else if (u < 0x800) {
            bytes += 2;
        } else if (IsHighSurrogate(u) && i + 1 < Text.size() && IsLowSurrogate(Text[i + 1])) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3; // the other units of the basic plane, and U+FFFD for a lone surrogate
        }
    }
    return bytes;
}

// Log text is mostly ASCII. Both conversions first narrow or widen the whole text as if it were,
// noting on the way whether it is, and convert it properly only when it is not. With SSE2 (every
// x86-64 processor) that takes sixteen units a step, the last step overlapping the one before it
// rather than finishing one unit at a time. Other text goes sixteen units at a time while it is
// ASCII (GCC at -O3 would unroll these blocks before it could vectorize them), otherwise one
// character at a time for the next sixteen units.
constexpr std::ptrdiff_t Block = 16;

// The starts of the sixteen-unit steps over n >= 16 units: 0, 16, ..., and n - 16 last.
template <typename TStep> void Steps16(std::size_t N, TStep&& Step) {
    for (std::size_t at = 0;; at = std::min(at + 16, N - 16)) {
        Step(at);
        if (at + 16 == N) {
            return;
        }
    }
}

// Narrows text into out and gives true when all of it is ASCII; otherwise out holds garbage.
bool NarrowIfAscii(std::u16string_view Text, char* Out) {
    const std::size_t n = Text.size();
#if defined(__SSE2__)
    if (n >= 16) {
        const char16_t* in = Text.data();
        __m128i seen = _mm_setzero_si128();
        Steps16(n, [&](std::size_t At) {
            const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + At));
            const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + At + 8));
            seen = _mm_or_si128(seen, _mm_or_si128(lo, hi));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + At), _mm_packus_epi16(lo, hi));
        });
        // A unit of 0x80 or above has one of its top nine bits set.
        const __m128i high = _mm_and_si128(seen, _mm_set1_epi16(static_cast<short>(0xFF80)));
        return _mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) == 0xFFFF;
    }
#endif
    std::uint16_t bits = 0;
    for (std::size_t i = 0; i < n; ++i) {
        bits |= Text[i];
        Out[i] = static_cast<char>(Text[i]);
    }
    return bits < 0x80;
}

// Widens bytes into out and gives true when all of them are ASCII; otherwise out holds garbage.
bool WidenIfAscii(std::string_view Bytes, char16_t* Out) {
    const auto* in = reinterpret_cast<const std::uint8_t*>(Bytes.data());
    const std::size_t n = Bytes.size();
#if defined(__SSE2__)
    if (n >= 16) {
        const __m128i zero = _mm_setzero_si128();
        __m128i seen = zero;
        Steps16(n, [&](std::size_t At) {
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + At));
            seen = _mm_or_si128(seen, b);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + At), _mm_unpacklo_epi8(b, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + At + 8), _mm_unpackhi_epi8(b, zero));
        });
        return _mm_movemask_epi8(seen) == 0; // no byte with its top bit set
    }
#endif
    std::uint16_t bits = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint16_t b = in[i];
        bits |= b;
        Out[i] = b;
    }
    return bits < 0x80;
}

} // namespace

std::size_t Utf16ToUtf8(std::u16string_view Text, char* Out) {
    if (NarrowIfAscii(Text, Out)) {
        return Text.size();
    }
    char* const start = Out;
    const char16_t* in = Text.data();
    const char16_t* const end = in + Text.size();
    while (in != end) {
        if (end - in >= Block) {
            std::uint16_t bits = 0;
#pragma GCC unroll 1
            for (std::ptrdiff_t k = 0; k < Block; ++k) {
                bits |= in[k];
            }
            if (bits < 0x80) {
    #pragma GCC unroll 1
            for (std::ptrdiff_t k = 0; k < Block; ++k) {
                    Out[k] = static_cast<char>(in[k]);
                }
                in += Block;
                Out += Block;
                continue;
            }
        }
        const char16_t* const stop = in + std::min(Block, end - in);
        while (in < stop) {
            const char16_t u = *in++;
            if (u < 0x80) {
                *Out++ = static_cast<char>(u);
            } else if (IsHighSurrogate(u) && in != end && IsLowSurrogate(*in)) {
                Out = PutUtf8(Out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(*in) - 0xDC00));
                ++in;
            } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
                Out = PutUtf8(Out, ReplacementChar);
            } else {
                Out = PutUtf8(Out, u);
            }
        }
    }
    return static_cast<std::size_t>(Out - start);
}

namespace {

// One character of UTF-8 text: its code point, or an ill-formed sequence, and the bytes it takes.
struct TUtf8Step {
    char32_t CodePoint;
    std::size_t Length;
    bool Valid;
};

// An ill-formed sequence ends at the first byte that does not belong to it, so decoding resumes
// there and never swallows the character after it.
inline TUtf8Step DecodeUtf8At(const std::uint8_t* Bytes, std::size_t I, std::size_t Size) {
    const std::uint8_t b0 = Bytes[I];
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        return {b0, 1, true};
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        return {ReplacementChar, 1, false};
    }
    std::size_t j = 1;
    for (; j <= static_cast<std::size_t>(extra); ++j) {
        if (I + j >= Size || (Bytes[I + j] & 0xC0) != 0x80) {
            break;
        }
        cp = (cp << 6) | (Bytes[I + j] & 0x3F);
    }
    if (j <= static_cast<std::size_t>(extra) || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return {ReplacementChar, j, false};
    }
    return {cp, j, true};
}

// One character from bytes[i] on: its units go to out; gives the bytes it took.
inline std::size_t DecodeOne(const std::uint8_t* Bytes, std::size_t I, std::size_t Size, char16_t*& Out) {
    const TUtf8Step step = DecodeUtf8At(Bytes, I, Size);
    Out = PutUtf16(Out, step.CodePoint);
    return step.Length;
}

} // namespace

std::size_t Utf8ToUtf16(std::string_view Bytes, char16_t* Out) {
    if (WidenIfAscii(Bytes, Out)) {
        return Bytes.size();
    }
    char16_t* const start = Out;
    const auto* const data = reinterpret_cast<const std::uint8_t*>(Bytes.data());
    const std::size_t size = Bytes.size();
    std::size_t i = 0;
    while (i < size) {
        if (size - i >= static_cast<std::size_t>(Block)) {
            std::uint8_t bits = 0;
#pragma GCC unroll 1
            for (std::ptrdiff_t k = 0; k < Block; ++k) {
                bits |= data[i + static_cast<std::size_t>(k)];
            }
            if (bits < 0x80) {
    #pragma GCC unroll 1
            for (std::ptrdiff_t k = 0; k < Block; ++k) {
                    Out[k] = static_cast<char16_t>(data[i + static_cast<std::size_t>(k)]);
                }
                i += Block;
                Out += Block;
                continue;
            }
        }
        const std::size_t stop = std::min(size, i + static_cast<std::size_t>(Block));
        while (i < stop) {
            i += DecodeOne(data, i, size, Out);
        }
    }
    return static_cast<std::size_t>(Out - start);
}

std::string Utf16ToUtf8(std::u16string_view Text) {
    // Sized exactly rather than for the worst case: a long text would otherwise keep up to three
    // times its size.
    std::string out(Utf8Length(Text), '\0');
    Utf16ToUtf8(Text, out.data());
    return out;
}

std::u16string Utf8ToUtf16(std::string_view Bytes) {
    std::u16string out(Bytes.size(), u'\0');
    out.resize(Utf8ToUtf16(Bytes, out.data()));
    return out;
}

bool IsValidUtf8(std::string_view Bytes) {
    const auto* const data = reinterpret_cast<const std::uint8_t*>(Bytes.data());
    std::size_t i = 0;
    while (i < Bytes.size()) {
        const TUtf8Step step = DecodeUtf8At(data, i, Bytes.size());
        if (!step.Valid) {
            return false;
        }
        i += step.Length;
    }
    return true;
}

std::u16string AsciiToUtf16(std::string_view Text) {
    return std::u16string(Text.begin(), Text.end());
}

} // namespace base
