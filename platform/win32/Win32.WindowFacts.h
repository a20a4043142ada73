#pragma once
#include "platform/Platform.WindowFacts.h"

namespace platform::win32 {

class TWin32WindowFacts final : public IWindowFacts {
public:
    TWindowHandle ForegroundWindow() const override;
    // At most 255 units: the longest class name Windows registers.
    std::u16string ClassName(TWindowHandle Window) const override;
    // At most 511 units; a longer title comes back cut.
    std::u16string Title(TWindowHandle Window) const override;
    TProcessId OwningProcessId(TWindowHandle Window) const override;
};

} // namespace platform::win32
