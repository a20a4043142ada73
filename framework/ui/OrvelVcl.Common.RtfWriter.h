#pragma once
// The log as a rich-text document: one paragraph per line in its level's colour and weight.
#include "framework/core/OrvelCore.LogTypes.h"

#include <string>
#include <vector>

namespace orvel {

struct TRtfLine {
    std::u16string Msg;
    TLogVerbLvl Level = lvInfos;
    bool Bold = false;
};

// RTF 1.x text, ASCII only: characters above 0x7F as \uN escapes, so any word processor reads it
// whatever its code page.
std::string BuildLogRtf(const std::vector<TRtfLine>& Lines, bool DarkPalette);

} // namespace orvel
