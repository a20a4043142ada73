#pragma once
// ASCII case folding for names that Windows and the INI file compare without regard to case
// (section and key names, window classes, registry names, component and property names). Only A-Z
// and a-z fold; every other code unit must match exactly. And the line-break test of single-line
// texts, and the blanks that surround INI names and values.
#include <string>
#include <string_view>

namespace base {

constexpr char16_t FoldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// The other way: a-z to A-Z, for names whose upper-case letter is their code (virtual keys).
constexpr char16_t UpperAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool SameTextAscii(std::u16string_view a, std::u16string_view b);
bool StartsWithTextAscii(std::u16string_view text, std::u16string_view prefix);
// The text with A-Z folded to a-z: a key under which case-insensitive names can be looked up.
std::u16string FoldedAscii(std::u16string_view text);

// Whether the text holds a CR or an LF. Quick on long text: every log line is asked.
bool HasLineBreak(std::u16string_view text);

// A blank as Windows' profile functions skip it around names and values: a space or a tab, and
// nothing else (a line break ends the line; a no-break space is text).
constexpr bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
// The text without its leading and trailing blanks.
std::u16string_view TrimBlanks(std::u16string_view text);

} // namespace base
