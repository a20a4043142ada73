#pragma once
// UTF-16 inside, UTF-8 at files and streams.
#include <string>
#include <string_view>

namespace base {

// Ill-formed input (a lone surrogate, a bad UTF-8 sequence) becomes U+FFFD, so a conversion never
// fails and never drops the rest of the text.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view bytes);

// The two halves of a surrogate pair, so that cutting and editing never split one.
constexpr bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Plain ASCII text to UTF-16, for literals and numbers.
std::u16string AsciiToUtf16(std::string_view text);

} // namespace base
