#include "framework/core/OrvelCore.WinVersion.h"

namespace orvel {

bool IsWindows8Up(const platform::TOsVersion& Version) {
    return Version.Major > 6 || (Version.Major == 6 && Version.Minor >= 2);
}

bool IsWindows8Up(const platform::IVersionInfo& Versions) {
    return IsWindows8Up(Versions.OsVersion());
}

} // namespace orvel
