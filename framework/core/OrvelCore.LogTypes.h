#pragma once
// What a log line is: its severity levels and the line record itself.
#include "platform/Platform.Types.h"

#include <cstdint>
#include <string>

namespace orvel {

// Ordered severities. A filter level lets through that level and every level above it.
enum TLogVerbLvl : std::uint8_t { lvDebug, lvVerbose, lvHints, lvInfos, lvImportant, lvWarnings, lvErrors };

inline constexpr int LogVerbLvlFirst = lvDebug;
inline constexpr int LogVerbLvlLast = lvErrors;

// True when `Ordinal` names one of the levels above (streams store the ordinal as an integer).
constexpr bool IsLogVerbLvl(std::int64_t Ordinal) {
    return Ordinal >= LogVerbLvlFirst && Ordinal <= LogVerbLvlLast;
}

// True when a line of `Level` passes the filter `Filter`.
constexpr bool PassesFilter(TLogVerbLvl Level, TLogVerbLvl Filter) {
    return Level >= Filter;
}

// "Debug", "Verbose", "Hints", "Info", "Important", "Warnings", "Errors". A value outside the
// enumeration is a programming error and fails an assertion.
std::u16string VerbosityName(TLogVerbLvl Level);

// One log line. A line is owned by exactly one container; the pointers handed out stay valid until
// that container is cleared, destroyed or emptied by a snapshot.
struct RLogLine {
    std::u16string Msg;
    TLogVerbLvl Level = lvDebug;
    std::int32_t Indent = 0;
    bool Bold = false;
    platform::TDateTime Time = 0.0; // local time, days since 1899-12-30
};

using PLogLine = RLogLine*;

} // namespace orvel
