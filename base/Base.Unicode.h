#pragma once
// UTF-16 inside, UTF-8 at files and streams.
#include <string>
#include <string_view>

namespace base {

// Ill-formed input (a lone surrogate, a bad UTF-8 sequence) becomes U+FFFD, so a conversion never
// fails and never drops the rest of the text.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view bytes);
// True when the bytes are well-formed UTF-8 throughout: no stray or truncated sequence, no
// overlong form, no encoded surrogate, nothing above U+10FFFF.
[[nodiscard]] bool IsValidUtf8(std::string_view bytes);

// Plain ASCII text to UTF-16, for literals and numbers.
std::u16string AsciiToUtf16(std::string_view text);

} // namespace base
