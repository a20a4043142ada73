#pragma once
#include <cstdint>
#include <string>

namespace platform {

struct TShellOpenResult {
    bool Ok = false;
    std::intptr_t Code = 0; // ShellExecuteW's answer: above 32 on success
};

// Hands a web address, a file or anything else the desktop can open to its default handler.
class IShellOpen {
public:
    virtual ~IShellOpen() = default;
    // ShellExecuteW with no owner window, the default verb, no parameters, no working folder and
    // SW_SHOWNORMAL.
    [[nodiscard]] virtual TShellOpenResult Open(const std::u16string& Target) = 0;
};

} // namespace platform
