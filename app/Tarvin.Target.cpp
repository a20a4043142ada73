#include "app/Tarvin.Target.h"

#include "app/Tarvin.Settings.h"
#include "base/Base.Format.h"
#include "base/Base.Text.h"
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.h"

#include <algorithm>

namespace tarvin {

void CheckForegroundTarget(const platform::IWindowFacts& Windows, const platform::IIntegrity& Integrity,
                           const std::vector<std::u16string>* AcceptedClasses,
                           const std::vector<std::u16string>* TitleMarkers, bool RequireTitleMarker,
                           TTargetInfo& Info) {
    Info = TTargetInfo{};
    Info.Handle = Windows.ForegroundWindow();
    if (Info.Handle == 0) {
        Info.Verdict = tvNoWindow;
        return;
    }
    Info.WindowClass = WindowClassOf(Windows, Info.Handle);
    Info.Title = WindowTitleOf(Windows, Info.Handle);
    Info.ProcessID = Windows.OwningProcessId(Info.Handle);

    if (!ClassAccepted(AcceptedClasses, Info.WindowClass)) {
        Info.Verdict = tvWrongClass;
        return;
    }
    if (RequireTitleMarker && !TitleHasMarker(TitleMarkers, Info.Title)) {
        Info.Verdict = tvWrongTitle;
        return;
    }

    Info.OurLevel = OwnIntegrityLevel(Integrity);
    Info.TheirLevel = ProcessIntegrityLevel(Integrity, Info.ProcessID);
    if (Info.TheirLevel == platform::UnknownIntegrityLevel) {
        Info.Verdict = tvUnreachable;
        orvel::TAppDataCore::LogWarn(UnreachableWarningText(Info.ProcessID));
        return;
    }
    // Windows drops synthetic input aimed at a process of higher integrity without a word.
    Info.Verdict = (Info.OurLevel == platform::UnknownIntegrityLevel || Info.OurLevel >= Info.TheirLevel)
                       ? tvOk
                       : tvHigherIntegrity;
}

bool TargetAccepted(const TTargetInfo& Info) {
    return Info.Verdict == tvOk;
}

std::u16string VerdictText(const TTargetInfo& Info) {
    switch (Info.Verdict) {
    case tvOk:
        return base::Format(u"Target accepted: {0}", Info.WindowClass);
    case tvNoWindow:
        return u"No window has the keyboard focus.";
    case tvWrongClass:
        return base::Format(u"Focused window is \"{0}\" (\"{1}\"), which is not in the accepted class list. "
                            u"Nothing was typed.",
                            Info.WindowClass, Info.Title);
    case tvWrongTitle:
        return base::Format(u"Focused window is a terminal but its title \"{0}\" carries no Claude Code "
                            u"marker. Nothing was typed.",
                            Info.Title);
    case tvHigherIntegrity:
        return base::Format(
            u"Focused window runs at {0} while Tarvin runs at {1}. Windows (UIPI) would discard every "
            u"keystroke without saying so. Nothing was typed. Run Tarvin at the same level as the "
            u"terminal.",
            IntegrityLevelName(Info.TheirLevel), IntegrityLevelName(Info.OurLevel));
    case tvUnreachable:
        return base::Format(
            u"Could not open the focused window's process (PID {0}) to read its integrity level. "
            u"It is most likely elevated, so UIPI would discard the keystrokes. Nothing was typed.",
            Info.ProcessID);
    }
    return u"Unknown verdict.";
}

std::u16string UnreachableWarningText(std::uint32_t ProcessID) {
    return base::Format(u"Tarvin.Target: cannot read the integrity level of PID {0}", ProcessID);
}

bool IsAcceptedTerminal(const platform::IWindowFacts& Windows, platform::TWindowHandle Handle,
                        const std::vector<std::u16string>* AcceptedClasses,
                        const std::vector<std::u16string>* TitleMarkers, bool RequireTitleMarker) {
    if (Handle == 0 || !ClassAccepted(AcceptedClasses, WindowClassOf(Windows, Handle))) {
        return false;
    }
    // The title is read only when it matters: this runs on every focus poll.
    return !RequireTitleMarker || TitleHasMarker(TitleMarkers, WindowTitleOf(Windows, Handle));
}

bool ForegroundIsTerminal(const platform::IWindowFacts& Windows,
                          const std::vector<std::u16string>* AcceptedClasses,
                          const std::vector<std::u16string>* TitleMarkers, bool RequireTitleMarker) {
    return IsAcceptedTerminal(Windows, Windows.ForegroundWindow(), AcceptedClasses, TitleMarkers,
                              RequireTitleMarker);
}

std::u16string WindowClassOf(const platform::IWindowFacts& Windows, platform::TWindowHandle Handle) {
    return Windows.ClassName(Handle);
}

std::u16string WindowTitleOf(const platform::IWindowFacts& Windows, platform::TWindowHandle Handle) {
    return Windows.Title(Handle);
}

bool ClassAccepted(const std::vector<std::u16string>* Classes, const std::u16string& ClassName) {
    if (Classes == nullptr) {
        return false;
    }
    return std::any_of(Classes->begin(), Classes->end(), [&](const std::u16string& entry) {
        return base::SameTextAscii(orvel::TrimControl(entry), ClassName);
    });
}

bool TitleHasMarker(const std::vector<std::u16string>* Markers, const std::u16string& Title) {
    if (Markers == nullptr || Markers->empty()) {
        return true;
    }
    return std::any_of(Markers->begin(), Markers->end(), [&](const std::u16string& entry) {
        const std::u16string marker = orvel::TrimControl(entry);
        return !marker.empty() && Title.find(marker) != std::u16string::npos;
    });
}

std::uint32_t OwnIntegrityLevel(const platform::IIntegrity& Integrity) {
    return Integrity.OwnIntegrityLevel();
}

std::uint32_t ProcessIntegrityLevel(const platform::IIntegrity& Integrity, std::uint32_t ProcessID) {
    return ProcessID == 0 ? platform::UnknownIntegrityLevel : Integrity.ProcessIntegrityLevel(ProcessID);
}

std::u16string IntegrityLevelName(std::uint32_t Level) {
    if (Level == platform::UnknownIntegrityLevel) {
        return u"unknown";
    }
    if (Level >= 0x4000) {
        return u"System";
    }
    if (Level >= 0x3000) {
        return u"High (elevated)";
    }
    if (Level >= 0x2000) {
        return u"Medium (normal)";
    }
    if (Level >= 0x1000) {
        return u"Low";
    }
    return u"Untrusted";
}

} // namespace tarvin
