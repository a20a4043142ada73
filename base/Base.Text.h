#pragma once
// ASCII case folding for names that Windows and the INI file compare without regard to case
// (section and key names, window classes, registry names, component and property names). Only A-Z
// and a-z fold; every other code unit must match exactly. And the line-break test of single-line
// texts.
#include <string>
#include <string_view>

namespace base {

constexpr char16_t FoldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameTextAscii(std::u16string_view a, std::u16string_view b);
bool StartsWithTextAscii(std::u16string_view text, std::u16string_view prefix);
// The text with A-Z folded to a-z: a key under which case-insensitive names can be looked up.
std::u16string FoldedAscii(std::u16string_view text);

// Whether the text holds a CR or an LF. Quick on long text: every log line is asked.
bool HasLineBreak(std::u16string_view text);

} // namespace base
