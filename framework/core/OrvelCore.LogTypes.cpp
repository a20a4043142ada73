#include "framework/core/OrvelCore.LogTypes.h"

#include "base/Base.Format.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"

#include <cstring>
#include <string>
#include <utility>

namespace orvel {

TLogText::TLogText(std::u16string_view Text) {
    if (Text.empty()) {
        return;
    }
    auto* copy = new char16_t[Text.size()];
    std::memcpy(copy, Text.data(), Text.size() * sizeof(char16_t));
    FData = copy;
    FLength = static_cast<std::uint32_t>(Text.size());
    FOwned = true;
}

// Inline characters belong to the arena's block, so moving them makes a copy; a heap copy moves.
TLogText::TLogText(TLogText&& Other) : TLogText(Other.FOwned ? std::u16string_view() : Other.View()) {
    if (Other.FOwned) {
        FData = std::exchange(Other.FData, u"");
        FLength = std::exchange(Other.FLength, 0);
        FOwned = std::exchange(Other.FOwned, false);
    }
}

TLogText::~TLogText() {
    if (FOwned) {
        delete[] FData;
    }
}

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
    throw EAssertionFailed(base::Format(u"VerbosityName: invalid log verbosity level {0}", static_cast<int>(Level)));
}

} // namespace orvel
