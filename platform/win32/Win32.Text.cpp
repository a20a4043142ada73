#include "platform/win32/Win32.Text.h"

#include "base/Base.Format.h"
#include "base/Base.Unicode.h"
#include "platform/win32/Win32.Handles.h"

#include <algorithm>

namespace platform::win32 {

void CopyToWide(std::u16string_view Text, std::span<wchar_t> Buffer) {
    if (Buffer.empty())
        return;
    std::size_t length = std::min(Text.size(), Buffer.size() - 1);
    if (length < Text.size() && length > 0 && base::IsHighSurrogate(Text[length - 1]))
        --length;
    std::copy_n(WideUnits(Text), length, Buffer.begin());
    Buffer[length] = L'\0';
}

std::u16string WindowText(HWND Window) {
    const int length = GetWindowTextLengthW(Window);
    if (length <= 0)
        return {};
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    // The length may shrink between the two calls; what was copied counts.
    const int copied = GetWindowTextW(Window, AsWide(text), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

std::u16string SystemErrorMessage(DWORD Code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, Code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const TLocalMemory owner(buffer);
    std::u16string message = length == 0 ? std::u16string() : FromWide(buffer, length);
    while (!message.empty() && (message.back() == u'\r' || message.back() == u'\n' || message.back() == u' '))
        message.pop_back();
    if (message.empty())
        message = base::Format(u"System error {0}", Code);
    return message;
}

} // namespace platform::win32
