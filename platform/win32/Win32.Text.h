#pragma once
// The one place where UTF-16 text crosses into and out of the Win32 API: on Windows wchar_t is
// a 16-bit UTF-16 unit, so the two character types share their representation.
#include <windows.h>

#include <cstddef>
#include <string>

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text must be UTF-16");

inline const wchar_t* AsWide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::u16string FromWide(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

inline std::u16string FromWide(const wchar_t* text) {
    return text == nullptr ? std::u16string() : FromWide(text, std::char_traits<wchar_t>::length(text));
}

// A NUL inside a text would silently cut the name Windows sees, so such a text is no valid name.
inline bool HasEmbeddedNul(const std::u16string& text) {
    return text.find(u'\0') != std::u16string::npos;
}

// The system's message for an error code, without the trailing line break; a generic text when
// the system has none, so a failure never comes back without words.
std::u16string SystemErrorMessage(DWORD code);

} // namespace platform::win32
