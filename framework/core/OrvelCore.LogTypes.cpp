#include "framework/core/OrvelCore.LogTypes.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"

#include <string>

namespace orvel {

std::u16string VerbosityName(TLogVerbLvl Level) {
    switch (Level) {
    case lvDebug:
        return u"Debug";
    case lvVerbose:
        return u"Verbose";
    case lvHints:
        return u"Hints";
    case lvInfos:
        return u"Info";
    case lvImportant:
        return u"Important";
    case lvWarnings:
        return u"Warnings";
    case lvErrors:
        return u"Errors";
    }
    throw EAssertionFailed(u"VerbosityName: invalid log verbosity level " +
                           base::AsciiToUtf16(std::to_string(static_cast<int>(Level))));
}

} // namespace orvel
