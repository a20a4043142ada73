#include "base/Base.Unicode.h"

#include <cstdint>

namespace base {
namespace {

constexpr char32_t ReplacementChar = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// One character of UTF-8 text: its code point, or an ill-formed sequence, and the bytes it takes.
struct TUtf8Step {
    char32_t CodePoint;
    std::size_t Length;
    bool Valid;
};

// An ill-formed sequence ends at the first byte that does not belong to it, so decoding resumes
// there and never swallows the character after it.
TUtf8Step DecodeUtf8At(std::string_view bytes, std::size_t i) {
    const auto b0 = static_cast<std::uint8_t>(bytes[i]);
    std::size_t extra = 0;
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
    for (; j <= extra; ++j) {
        if (i + j >= bytes.size() || (static_cast<std::uint8_t>(bytes[i + j]) & 0xC0) != 0x80) {
            break;
        }
        cp = (cp << 6) | (static_cast<std::uint8_t>(bytes[i + j]) & 0x3F);
    }
    if (j <= extra || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return {ReplacementChar, j, false};
    }
    return {cp, j, true};
}

} // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            AppendUtf8(out, ReplacementChar);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const TUtf8Step step = DecodeUtf8At(bytes, i);
        AppendUtf16(out, step.Valid ? step.CodePoint : ReplacementChar);
        i += step.Length;
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const TUtf8Step step = DecodeUtf8At(bytes, i);
        if (!step.Valid) {
            return false;
        }
        i += step.Length;
    }
    return true;
}

std::u16string AsciiToUtf16(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

} // namespace base
