#pragma once
// The colour of each log level on a light and on a dark window background.
#include "framework/core/OrvelCore.LogTypes.h"
#include "toolkit/Toolkit.Types.h"

namespace orvel {

// Raises "Verbosity2Color: Invalid log verbosity level" for a value outside the seven levels.
toolkit::TColor Verbosity2Color(TLogVerbLvl Level, bool DarkPalette);
// A background whose luma (0.299 R + 0.587 G + 0.114 B) is below 127 takes the dark palette.
bool IsDarkBackground(toolkit::TColor WindowColor);

} // namespace orvel
