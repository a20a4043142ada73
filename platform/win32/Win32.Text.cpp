#include "platform/win32/Win32.Text.h"

#include "base/Base.Unicode.h"
#include "platform/win32/Win32.Handles.h"

#include <algorithm>

namespace platform::win32 {

void CopyToWide(std::u16string_view text, std::span<wchar_t> buffer) {
    if (buffer.empty())
        return;
    std::size_t length = std::min(text.size(), buffer.size() - 1);
    if (length < text.size() && length > 0 && base::IsHighSurrogate(text[length - 1]))
        --length;
    std::copy_n(WideUnits(text), length, buffer.begin());
    buffer[length] = L'\0';
}

std::u16string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    // The length may shrink between the two calls; what was copied counts.
    const int copied = GetWindowTextW(window, AsWide(text), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

std::u16string SystemErrorMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const TLocalMemory owner(buffer);
    std::u16string message = length == 0 ? std::u16string() : FromWide(buffer, length);
    while (!message.empty() && (message.back() == u'\r' || message.back() == u'\n' || message.back() == u' '))
        message.pop_back();
    if (message.empty())
        message = u"System error " + base::AsciiToUtf16(std::to_string(code));
    return message;
}

} // namespace platform::win32
