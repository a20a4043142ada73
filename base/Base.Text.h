#pragma once
// ASCII case folding for names that Windows and the INI file compare without regard to case
// (section and key names, window classes, registry names, component and property names). Only A-Z
// and a-z fold; every other code unit must match exactly. And the line-break test of single-line
// texts, and the blanks that surround INI names and values.
#include <string>
#include <string_view>

namespace base {

constexpr char16_t FoldAscii(char16_t C) {
    return (C >= u'A' && C <= u'Z') ? static_cast<char16_t>(C - u'A' + u'a') : C;
}

// The other way: a-z to A-Z, for names whose upper-case letter is their code (virtual keys).
constexpr char16_t UpperAscii(char16_t C) {
    return (C >= u'a' && C <= u'z') ? static_cast<char16_t>(C - u'a' + u'A') : C;
}

bool SameTextAscii(std::u16string_view A, std::u16string_view B);
bool StartsWithTextAscii(std::u16string_view Text, std::u16string_view Prefix);
// The text with A-Z folded to a-z: a key under which case-insensitive names can be looked up.
std::u16string FoldedAscii(std::u16string_view Text);

// Whether the text holds a CR or an LF. Quick on long text: every log line is asked.
bool HasLineBreak(std::u16string_view Text);

// A blank as Windows' profile functions skip it around names and values: a space or a tab, and
// nothing else (a line break ends the line; a no-break space is text).
constexpr bool IsBlank(char16_t C) {
    return C == u' ' || C == u'\t';
}
// The text without its leading and trailing blanks.
std::u16string_view TrimBlanks(std::u16string_view Text);

} // namespace base
