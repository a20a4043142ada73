#include "app/Tarvin.CrashReport.h"

namespace tarvin {

void ConfigureCrashReporter(std::u16string_view, std::u16string_view) {
    // Deliberately empty until a reporter is chosen: unhandled exceptions end in the entry's
    // message box instead.
}

} // namespace tarvin
