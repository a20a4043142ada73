#pragma once
#include "platform/Platform.TimeFormat.h"

namespace platform::win32 {

// GetTimeFormatEx with the user's locale and no format picture: the long time format the user
// chose in the regional settings.
class TWin32TimeFormat final : public ITimeFormat {
public:
    std::u16string LongTimeText(TDateTime Value) const override;
};

} // namespace platform::win32
