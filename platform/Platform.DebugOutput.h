#pragma once
#include <string>

namespace platform {

class IDebugOutput {
public:
    virtual ~IDebugOutput() = default;
    virtual void WriteDebugString(const std::u16string& Text) = 0; // OutputDebugStringW
};

} // namespace platform
