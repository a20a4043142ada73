#include "platform/win32/Win32.Text.h"

#include "platform/win32/Win32.Handles.h"

namespace platform::win32 {

std::u16string SystemErrorMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const TLocalMemory owner(buffer);
    std::u16string message = length == 0 ? std::u16string() : FromWide(buffer, length);
    while (!message.empty() && (message.back() == u'\r' || message.back() == u'\n' || message.back() == u' '))
        message.pop_back();
    if (message.empty()) {
        const std::string digits = std::to_string(code);
        message = u"System error " + std::u16string(digits.begin(), digits.end());
    }
    return message;
}

} // namespace platform::win32
