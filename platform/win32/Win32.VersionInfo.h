#pragma once
#include "platform/Platform.VersionInfo.h"

namespace platform::win32 {

// GetFileVersionInfoSizeW, GetFileVersionInfoW and VerQueryValueW on the root block for files;
// RtlGetVersion for the system, read once at construction: unlike GetVersionExW it is not bent by
// the executable's compatibility manifest, so Windows 10 and 11 answer 10.0.
class TWin32VersionInfo final : public IVersionInfo {
public:
    TWin32VersionInfo();
    std::optional<TFileVersionWords> FileVersion(const std::u16string& Path) const override;
    TOsVersion OsVersion() const override { return FOs; }

private:
    TOsVersion FOs;
};

} // namespace platform::win32
