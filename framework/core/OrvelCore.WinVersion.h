#pragma once
// The one system-version test the framework needs.
#include "platform/Platform.VersionInfo.h"

namespace orvel {

// True from version 6.2 (Windows 8) on: major 6 with minor 2 or more, or any major above 6.
bool IsWindows8Up(const platform::TOsVersion& Version);
// The same for the system the program runs on, as the platform layer read it at start-up.
bool IsWindows8Up(const platform::IVersionInfo& Versions);

} // namespace orvel
