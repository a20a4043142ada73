#include "base/Base.Unicode.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace base {
namespace {

constexpr char32_t ReplacementChar = 0xFFFD;

char* PutUtf8(char* out, char32_t cp) {
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | (cp >> 6));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (cp >> 12));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (cp >> 18));
        *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

char16_t* PutUtf16(char16_t* out, char32_t cp) {
    if (cp < 0x10000) {
        *out++ = static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
        *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
    return out;
}

bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// The UTF-8 length of text, counted the way Utf16ToUtf8 writes it.
std::size_t Utf8Length(std::u16string_view text) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u < 0x80) {
            bytes += 1;
        } else if (u < 0x800) {
            bytes += 2;
        } else if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3; // the other units of the basic plane, and U+FFFD for a lone surrogate
        }
    }
    return bytes;
}

// Log text is mostly ASCII. Both conversions first ask whether all of it is, and then only narrow
// or widen: these loops have no early exit and gather their test in a value as wide as a unit, so
// the compiler turns them into vector instructions. Other text goes sixteen units at a time while
// it is ASCII (GCC at -O3 would unroll these blocks before it could vectorize them), otherwise one
// character at a time for the next sixteen units.
constexpr std::ptrdiff_t Block = 16;

bool IsAscii(std::u16string_view text) {
    std::uint16_t bits = 0;
    for (const char16_t c : text) {
        bits |= c;
    }
    return bits < 0x80;
}

bool IsAscii(std::string_view bytes) {
    std::uint8_t bits = 0;
    for (const char c : bytes) {
        bits |= static_cast<std::uint8_t>(c);
    }
    return bits < 0x80;
}

} // namespace

std::size_t Utf16ToUtf8(std::u16string_view text, char* out) {
    if (IsAscii(text)) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            out[i] = static_cast<char>(text[i]);
        }
        return text.size();
    }
    char* const start = out;
    const char16_t* in = text.data();
    const char16_t* const end = in + text.size();
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
                    out[k] = static_cast<char>(in[k]);
                }
                in += Block;
                out += Block;
                continue;
            }
        }
        const char16_t* const stop = in + std::min(Block, end - in);
        while (in < stop) {
            const char16_t u = *in++;
            if (u < 0x80) {
                *out++ = static_cast<char>(u);
            } else if (IsHighSurrogate(u) && in != end && IsLowSurrogate(*in)) {
                out = PutUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(*in) - 0xDC00));
                ++in;
            } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
                out = PutUtf8(out, ReplacementChar);
            } else {
                out = PutUtf8(out, u);
            }
        }
    }
    return static_cast<std::size_t>(out - start);
}

namespace {

// One character from bytes[i] on: its units go to out; gives the bytes it took.
std::size_t DecodeOne(const std::uint8_t* bytes, std::size_t i, std::size_t size, char16_t*& out) {
    const std::uint8_t b0 = bytes[i];
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        *out++ = static_cast<char16_t>(b0);
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        *out++ = static_cast<char16_t>(ReplacementChar);
        return 1;
    }
    std::size_t j = 1;
    for (; j <= static_cast<std::size_t>(extra); ++j) {
        if (i + j >= size || (bytes[i + j] & 0xC0) != 0x80) {
            break;
        }
        cp = (cp << 6) | (bytes[i + j] & 0x3F);
    }
    if (j <= static_cast<std::size_t>(extra) || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        *out++ = static_cast<char16_t>(ReplacementChar);
        return j; // resume at the first byte that did not belong to the sequence
    }
    out = PutUtf16(out, cp);
    return j;
}

} // namespace

std::size_t Utf8ToUtf16(std::string_view bytes, char16_t* out) {
    if (IsAscii(bytes)) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            out[i] = static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]));
        }
        return bytes.size();
    }
    char16_t* const start = out;
    const auto* const data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t size = bytes.size();
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
                    out[k] = static_cast<char16_t>(data[i + static_cast<std::size_t>(k)]);
                }
                i += Block;
                out += Block;
                continue;
            }
        }
        const std::size_t stop = std::min(size, i + static_cast<std::size_t>(Block));
        while (i < stop) {
            i += DecodeOne(data, i, size, out);
        }
    }
    return static_cast<std::size_t>(out - start);
}

std::string Utf16ToUtf8(std::u16string_view text) {
    // Sized exactly rather than for the worst case: a long text would otherwise keep up to three
    // times its size.
    std::string out(Utf8Length(text), '\0');
    Utf16ToUtf8(text, out.data());
    return out;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    out.resize(Utf8ToUtf16(bytes, out.data()));
    return out;
}

std::u16string AsciiToUtf16(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

} // namespace base
