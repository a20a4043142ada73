#pragma once
#include "platform/Platform.DebugOutput.h"

namespace platform::win32 {

class TWin32DebugOutput final : public IDebugOutput {
public:
    void WriteDebugString(const std::u16string& Text) override;
};

} // namespace platform::win32
