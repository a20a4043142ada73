#pragma once
// Whether the focused window is a terminal that may receive typed keystrokes.
//
// A string list passed by pointer may be absent (nullptr); each routine says what that means.
#include "platform/Platform.Integrity.h"
#include "platform/Platform.WindowFacts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarvin {

enum TTargetVerdict : std::uint8_t {
    tvOk,
    tvNoWindow,
    tvWrongClass,
    tvWrongTitle,
    tvHigherIntegrity,
    tvUnreachable
};

// A snapshot of the foreground window. The defaults describe "no window": a fresh record never
// reads as accepted.
struct TTargetInfo {
    TTargetVerdict Verdict = tvNoWindow;
    platform::TWindowHandle Handle = 0;
    std::u16string WindowClass;
    std::u16string Title;
    std::uint32_t ProcessID = 0;
    std::uint32_t OurLevel = platform::UnknownIntegrityLevel;
    std::uint32_t TheirLevel = platform::UnknownIntegrityLevel;
};

// The full check: class, then title marker (only when required), then integrity. An unknown
// own level never refuses; an unknown target level always does, and writes a warning line.
void CheckForegroundTarget(const platform::IWindowFacts& Windows, const platform::IIntegrity& Integrity,
                           const std::vector<std::u16string>* AcceptedClasses,
                           const std::vector<std::u16string>* TitleMarkers, bool RequireTitleMarker,
                           TTargetInfo& Info);
bool TargetAccepted(const TTargetInfo& Info);
// The message the user reads for the verdict.
std::u16string VerdictText(const TTargetInfo& Info);
// The warning logged when the target's integrity level cannot be read.
std::u16string UnreachableWarningText(std::uint32_t ProcessID);

// The cheap test of the hotkey grip: class and (when required) title marker, no integrity.
bool IsAcceptedTerminal(const platform::IWindowFacts& Windows, platform::TWindowHandle Handle,
                        const std::vector<std::u16string>* AcceptedClasses,
                        const std::vector<std::u16string>* TitleMarkers, bool RequireTitleMarker);
bool ForegroundIsTerminal(const platform::IWindowFacts& Windows,
                          const std::vector<std::u16string>* AcceptedClasses,
                          const std::vector<std::u16string>* TitleMarkers, bool RequireTitleMarker);

// Empty when the window has none or does not exist.
std::u16string WindowClassOf(const platform::IWindowFacts& Windows, platform::TWindowHandle Handle);
std::u16string WindowTitleOf(const platform::IWindowFacts& Windows, platform::TWindowHandle Handle);

// False for an absent list. Entries are trimmed of characters below code 33 and compared with
// ASCII-only case folding; the class name is taken as it is, so an entry that trims to empty
// matches only an empty class name.
bool ClassAccepted(const std::vector<std::u16string>* Classes, const std::u16string& ClassName);
// True for an absent or empty list. Markers are trimmed, empty ones skipped, and searched for
// case-sensitively, UTF-16 unit by unit.
bool TitleHasMarker(const std::vector<std::u16string>* Markers, const std::u16string& Title);

// Levels are mandatory-label RIDs; platform::UnknownIntegrityLevel when unreadable.
std::uint32_t OwnIntegrityLevel(const platform::IIntegrity& Integrity);
// Process ID 0 is never looked up and gives the unknown level.
std::uint32_t ProcessIntegrityLevel(const platform::IIntegrity& Integrity, std::uint32_t ProcessID);
std::u16string IntegrityLevelName(std::uint32_t Level);

} // namespace tarvin
