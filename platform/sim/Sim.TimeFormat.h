#pragma once
// The simulated user's long time format: 24-hour "HH:mm:ss", the same on every machine.
#include "platform/Platform.TimeFormat.h"

namespace platform::sim {

class TSimTimeFormat final : public ITimeFormat {
public:
    std::u16string LongTimeText(TDateTime Value) const override;
};

} // namespace platform::sim
