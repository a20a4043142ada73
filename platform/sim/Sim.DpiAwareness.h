#pragma once
// The process's DPI mode for native tests: what a test sets, per-monitor v2 (the product's
// manifest) until then. It is a test double, not a product.
#include "platform/Platform.DpiAwareness.h"

namespace platform::sim {

class TSimDpiAwareness final : public IDpiAwareness {
public:
    void SetAwareness(TDpiAwareness Value) { FAwareness = Value; }
    TDpiAwareness Awareness() const override { return FAwareness; }

private:
    TDpiAwareness FAwareness = TDpiAwareness::PerMonitorV2;
};

} // namespace platform::sim
