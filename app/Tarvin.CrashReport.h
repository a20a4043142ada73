#pragma once
// Where the program hands its name and version to a crash reporter, so that a report of an
// unhandled exception says which build failed. No reporter is linked yet: the call records nothing,
// and a later change puts a reporter behind it without touching the entry.
#include <string_view>

namespace tarvin {

// Reports refuse server certificate errors on upload; Product and Version become report fields.
void ConfigureCrashReporter(std::u16string_view Product, std::u16string_view Version);

} // namespace tarvin
