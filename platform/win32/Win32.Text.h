#pragma once
// The one place where UTF-16 text crosses into and out of the Win32 API: on Windows wchar_t is
// a 16-bit UTF-16 unit, so the two character types share their representation.
#include <windows.h>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text must be UTF-16");

// For calls that read a NUL-terminated text.
inline const wchar_t* AsWide(const std::u16string& Text) {
    return reinterpret_cast<const wchar_t*>(Text.c_str());
}

// For the records whose text member is declared writable although a set only reads it (menu
// items, list-view rows, tooltips); the text stays the caller's.
inline wchar_t* AsWide(std::u16string& Text) {
    return reinterpret_cast<wchar_t*>(Text.data());
}

// For calls that take the text with its length: not NUL-terminated.
inline const wchar_t* WideUnits(std::u16string_view Text) {
    return reinterpret_cast<const wchar_t*>(Text.data());
}

// An owning wide copy, for text put together with wide literals.
inline std::wstring ToWideString(std::u16string_view Text) {
    return std::wstring(WideUnits(Text), Text.size());
}

inline std::u16string FromWide(const wchar_t* Text, std::size_t Length) {
    return std::u16string(reinterpret_cast<const char16_t*>(Text), Length);
}

inline std::u16string FromWide(std::wstring_view Text) {
    return FromWide(Text.data(), Text.size());
}

inline std::u16string FromWide(const wchar_t* Text) {
    return Text == nullptr ? std::u16string() : FromWide(Text, std::char_traits<wchar_t>::length(Text));
}

// Into a fixed character array of a Win32 record (a font's face name, a tray icon's tip): as much
// as fits before the terminator, never half of a surrogate pair.
void CopyToWide(std::u16string_view Text, std::span<wchar_t> Buffer);

// A window's whole text.
std::u16string WindowText(HWND Window);

// A NUL inside a text would silently cut the name Windows sees, so such a text is no valid name.
inline bool HasEmbeddedNul(const std::u16string& Text) {
    return Text.find(u'\0') != std::u16string::npos;
}

// The system's message for an error code, without the trailing line break; a generic text when
// the system has none, so a failure never comes back without words.
std::u16string SystemErrorMessage(DWORD Code);

} // namespace platform::win32
