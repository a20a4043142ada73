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
inline const wchar_t* AsWide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// For the records whose text member is declared writable although a set only reads it (menu
// items, list-view rows, tooltips); the text stays the caller's.
inline wchar_t* AsWide(std::u16string& text) {
    return reinterpret_cast<wchar_t*>(text.data());
}

// For calls that take the text with its length: not NUL-terminated.
inline const wchar_t* WideUnits(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

// An owning wide copy, for text put together with wide literals.
inline std::wstring ToWideString(std::u16string_view text) {
    return std::wstring(WideUnits(text), text.size());
}

inline std::u16string FromWide(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

inline std::u16string FromWide(std::wstring_view text) {
    return FromWide(text.data(), text.size());
}

inline std::u16string FromWide(const wchar_t* text) {
    return text == nullptr ? std::u16string() : FromWide(text, std::char_traits<wchar_t>::length(text));
}

// Into a fixed character array of a Win32 record (a font's face name, a tray icon's tip): as much
// as fits before the terminator, never half of a surrogate pair.
void CopyToWide(std::u16string_view text, std::span<wchar_t> buffer);

// A window's whole text.
std::u16string WindowText(HWND window);

// A NUL inside a text would silently cut the name Windows sees, so such a text is no valid name.
inline bool HasEmbeddedNul(const std::u16string& text) {
    return text.find(u'\0') != std::u16string::npos;
}

// The system's message for an error code, without the trailing line break; a generic text when
// the system has none, so a failure never comes back without words.
std::u16string SystemErrorMessage(DWORD code);

} // namespace platform::win32
