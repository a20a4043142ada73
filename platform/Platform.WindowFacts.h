#pragma once
#include "platform/Platform.Types.h"

namespace platform {

// Focus and window facts. Every failure comes back as a value (0 or an empty text).
class IWindowFacts {
public:
    virtual ~IWindowFacts() = default;
    virtual TWindowHandle ForegroundWindow() const = 0;
    virtual std::u16string ClassName(TWindowHandle Window) const = 0;
    virtual std::u16string Title(TWindowHandle Window) const = 0;
    virtual TProcessId OwningProcessId(TWindowHandle Window) const = 0;
};

} // namespace platform
