#pragma once
// UTF-16 inside, UTF-8 at files and streams.
#include <cstddef>
#include <string>
#include <string_view>

namespace base {

// Ill-formed input (a lone surrogate, a bad UTF-8 sequence) becomes U+FFFD, so a conversion never
// fails and never drops the rest of the text.
std::string Utf16ToUtf8(std::u16string_view Text);
std::u16string Utf8ToUtf16(std::string_view Bytes);
// True when the bytes are well-formed UTF-8 throughout: no stray or truncated sequence, no
// overlong form, no encoded surrogate, nothing above U+10FFFF.
[[nodiscard]] bool IsValidUtf8(std::string_view Bytes);

// The same conversions into a buffer the caller provides, for writers and readers that convert
// straight into their own storage. Give the number of bytes or units written.
// One UTF-16 unit never takes more than this many UTF-8 bytes (a surrogate pair takes 4 for 2).
inline constexpr std::size_t MaxUtf8BytesPerUnit = 3;
// `Out` must hold MaxUtf8BytesPerUnit * Text.size() bytes.
std::size_t Utf16ToUtf8(std::u16string_view Text, char* Out);
// `Out` must hold Bytes.size() units: no UTF-8 byte yields more than one UTF-16 unit.
std::size_t Utf8ToUtf16(std::string_view Bytes, char16_t* Out);

// The two halves of a surrogate pair, so that cutting and editing never split one.
constexpr bool IsHighSurrogate(char16_t Unit) {
    return Unit >= 0xD800 && Unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char16_t Unit) {
    return Unit >= 0xDC00 && Unit <= 0xDFFF;
}

// Plain ASCII text to UTF-16, for literals and numbers.
std::u16string AsciiToUtf16(std::string_view Text);

} // namespace base
