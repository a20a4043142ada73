#include "app/Tarvin.Target.h"

#include "app/Tarvin.Settings.h"
#include "base/Base.Unicode.h"
#include "platform/sim/Sim.Desktop.h"

#include <gtest/gtest.h>

#include <optional>

namespace tarvin {
namespace {

using Strings = std::vector<std::u16string>;

constexpr std::uint32_t Unknown = platform::UnknownIntegrityLevel;

std::string Utf8(std::u16string_view text) {
    return base::Utf16ToUtf8(text);
}

// Answers Medium for every process, 0 included, and remembers which it was asked about.
class TAnsweringIntegrity final : public platform::IIntegrity {
public:
    std::uint32_t OwnIntegrityLevel() const override { return 0x2000; }
    std::uint32_t ProcessIntegrityLevel(platform::TProcessId pid) const override {
        Asked.push_back(pid);
        return 0x2000;
    }
    mutable std::vector<std::uint32_t> Asked;
};

// A desktop with one window of the given class and title in front, owned by process 4242.
struct TScene {
    platform::sim::TSimDesktop Desktop;
    platform::TWindowHandle Window = 0;
    TSettings Settings;

    TScene(std::u16string className, std::u16string title, std::optional<std::uint32_t> theirLevel = 0x2000) {
        Window = Desktop.AddWindow(std::move(className), std::move(title), 4242);
        if (theirLevel) {
            Desktop.AddProcess(4242, *theirLevel);
        } else {
            Desktop.AddUnreachableProcess(4242);
        }
        Desktop.SetForeground(Window);
    }

    TTargetInfo Check() {
        TTargetInfo info;
        CheckForegroundTarget(Desktop, Desktop, &Settings.FAcceptedClasses, &Settings.FTitleMarkers,
                              Settings.RequireTitleMarker, info);
        return info;
    }
};

TEST(TargetCheck, VerdictsFollowClassTitleAndIntegrity) {
    struct TCase {
        const char* Name;
        std::u16string ClassName;
        std::u16string Title;
        bool RequireMarker;
        std::uint32_t OurLevel;
        std::optional<std::uint32_t> TheirLevel;
        TTargetVerdict Verdict;
    };
    const std::vector<TCase> cases = {
        {"console accepted", u"ConsoleWindowClass", u"cmd", false, 0x2000, 0x2000, tvOk},
        {"windows terminal accepted", u"CASCADIA_HOSTING_WINDOW_CLASS", u"pwsh", false, 0x2000, 0x2000, tvOk},
        {"class compared without case", u"consolewindowclass", u"cmd", false, 0x2000, 0x2000, tvOk},
        {"prefix of a class is not the class", u"ConsoleWindowClassX", u"cmd", false, 0x2000, 0x2000,
         tvWrongClass},
        {"other program", u"Notepad", u"Untitled", false, 0x2000, 0x2000, tvWrongClass},
        {"title ignored when no marker required", u"ConsoleWindowClass", u"plain", false, 0x2000, 0x2000,
         tvOk},
        {"title with Claude", u"ConsoleWindowClass", u"Claude Code", true, 0x2000, 0x2000, tvOk},
        {"title with U+2733 inside", u"ConsoleWindowClass", u"x \u2733 y", true, 0x2000, 0x2000, tvOk},
        {"title with U+25D0", u"ConsoleWindowClass", u"\u25D0", true, 0x2000, 0x2000, tvOk},
        {"marker in lower case only", u"ConsoleWindowClass", u"claude code", true, 0x2000, 0x2000,
         tvWrongTitle},
        {"class checked before title", u"Notepad", u"Claude", true, 0x2000, 0x2000, tvWrongClass},
        {"elevated terminal", u"ConsoleWindowClass", u"cmd", false, 0x2000, 0x3000, tvHigherIntegrity},
        {"we are elevated", u"ConsoleWindowClass", u"cmd", false, 0x3000, 0x2000, tvOk},
        {"same level above the threshold", u"ConsoleWindowClass", u"cmd", false, 0x2100, 0x2100, tvOk},
        {"own level unknown never refuses", u"ConsoleWindowClass", u"cmd", false, Unknown, 0x4000, tvOk},
        {"target unreachable", u"ConsoleWindowClass", u"cmd", false, 0x2000, std::nullopt, tvUnreachable},
        {"both unknown", u"ConsoleWindowClass", u"cmd", false, Unknown, std::nullopt, tvUnreachable},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScene scene(c.ClassName, c.Title, c.TheirLevel);
        scene.Desktop.SetOwnIntegrityLevel(c.OurLevel);
        scene.Settings.RequireTitleMarker = c.RequireMarker;
        const TTargetInfo info = scene.Check();
        EXPECT_EQ(info.Verdict, c.Verdict);
        EXPECT_EQ(TargetAccepted(info), c.Verdict == tvOk);
        EXPECT_EQ(info.Handle, scene.Window);
        EXPECT_EQ(info.WindowClass, c.ClassName);
        EXPECT_EQ(info.Title, c.Title);
        EXPECT_EQ(info.ProcessID, 4242u);
    }
}

TEST(TargetCheck, LevelsAreReadOnlyWhenTheIntegrityStepIsReached) {
    {
        SCOPED_TRACE("wrong class");
        TScene scene(u"Notepad", u"", 0x2000);
        const TTargetInfo info = scene.Check();
        EXPECT_EQ(info.OurLevel, Unknown);
        EXPECT_EQ(info.TheirLevel, Unknown);
    }
    {
        SCOPED_TRACE("wrong title");
        TScene scene(u"ConsoleWindowClass", u"cmd", 0x2000);
        scene.Settings.RequireTitleMarker = true;
        const TTargetInfo info = scene.Check();
        EXPECT_EQ(info.OurLevel, Unknown);
        EXPECT_EQ(info.TheirLevel, Unknown);
    }
    {
        SCOPED_TRACE("accepted");
        TScene scene(u"ConsoleWindowClass", u"cmd", 0x2000);
        scene.Desktop.SetOwnIntegrityLevel(0x3000);
        const TTargetInfo info = scene.Check();
        EXPECT_EQ(info.OurLevel, 0x3000u);
        EXPECT_EQ(info.TheirLevel, 0x2000u);
    }
    {
        SCOPED_TRACE("unreachable");
        TScene scene(u"ConsoleWindowClass", u"cmd", std::nullopt);
        const TTargetInfo info = scene.Check();
        EXPECT_EQ(info.OurLevel, 0x2000u);
        EXPECT_EQ(info.TheirLevel, Unknown);
    }
}

TEST(TargetCheck, NoForegroundWindowClearsTheWholeRecord) {
    platform::sim::TSimDesktop desktop;
    TSettings settings;
    TTargetInfo info;
    info.Verdict = tvOk; // left over from an earlier check
    info.Handle = 0x999;
    info.WindowClass = u"Old";
    info.Title = u"Old";
    info.ProcessID = 7;
    info.OurLevel = 0x2000;
    info.TheirLevel = 0x2000;

    CheckForegroundTarget(desktop, desktop, &settings.FAcceptedClasses, &settings.FTitleMarkers, false, info);

    EXPECT_EQ(info.Verdict, tvNoWindow);
    EXPECT_EQ(info.Handle, 0u);
    EXPECT_EQ(info.WindowClass, u"");
    EXPECT_EQ(info.Title, u"");
    EXPECT_EQ(info.ProcessID, 0u);
    EXPECT_EQ(info.OurLevel, Unknown);
    EXPECT_EQ(info.TheirLevel, Unknown);
}

TEST(TargetCheck, WindowWithoutProcessIsUnreachable) {
    platform::sim::TSimDesktop desktop;
    desktop.SetForeground(desktop.AddWindow(u"ConsoleWindowClass", u"cmd", 0));
    TAnsweringIntegrity integrity;
    TSettings settings;
    TTargetInfo info;
    CheckForegroundTarget(desktop, integrity, &settings.FAcceptedClasses, &settings.FTitleMarkers, false,
                          info);
    EXPECT_EQ(info.Verdict, tvUnreachable);
    EXPECT_EQ(info.ProcessID, 0u);
    EXPECT_EQ(info.OurLevel, 0x2000u);
    EXPECT_EQ(info.TheirLevel, Unknown);
    EXPECT_TRUE(integrity.Asked.empty());
}

TEST(TargetCheck, AbsentListsRefuseEveryClassButPassEveryTitle) {
    TScene scene(u"ConsoleWindowClass", u"no marker here", 0x2000);
    TTargetInfo info;
    CheckForegroundTarget(scene.Desktop, scene.Desktop, nullptr, &scene.Settings.FTitleMarkers, false, info);
    EXPECT_EQ(info.Verdict, tvWrongClass);
    CheckForegroundTarget(scene.Desktop, scene.Desktop, &scene.Settings.FAcceptedClasses, nullptr, true,
                          info);
    EXPECT_EQ(info.Verdict, tvOk);
}

TEST(TargetVerdictText, NamesWhatWasFound) {
    struct TCase {
        TTargetInfo Info;
        std::u16string Text;
    };
    const auto info = [](TTargetVerdict verdict, std::uint32_t ours, std::uint32_t theirs) {
        TTargetInfo i;
        i.Verdict = verdict;
        i.Handle = 0x10010;
        i.WindowClass = u"ConsoleWindowClass";
        i.Title = u"C:\\ \"quoted\" \u2733";
        i.ProcessID = 4000000000u;
        i.OurLevel = ours;
        i.TheirLevel = theirs;
        return i;
    };
    const std::vector<TCase> cases = {
        {info(tvOk, 0x2000, 0x2000), u"Target accepted: ConsoleWindowClass"},
        {info(tvNoWindow, Unknown, Unknown), u"No window has the keyboard focus."},
        {info(tvWrongClass, Unknown, Unknown), u"Focused window is \"ConsoleWindowClass\" (\"C:\\ \"quoted\" "
                                               u"\u2733\"), which is not in the accepted "
                                               u"class list. Nothing was typed."},
        {info(tvWrongTitle, Unknown, Unknown), u"Focused window is a terminal but its title \"C:\\ "
                                               u"\"quoted\" \u2733\" carries no Claude Code marker. "
                                               u"Nothing was typed."},
        {info(tvHigherIntegrity, 0x2000, 0x3000),
         u"Focused window runs at High (elevated) while Tarvin runs at Medium (normal). Windows (UIPI) would "
         u"discard every keystroke without saying so. Nothing was typed. Run Tarvin at the same level as the "
         u"terminal."},
        {info(tvUnreachable, 0x2000, Unknown),
         u"Could not open the focused window's process (PID 4000000000) to read its integrity level. It is "
         u"most "
         u"likely elevated, so UIPI would discard the keystrokes. Nothing was typed."},
        {info(static_cast<TTargetVerdict>(6), 0x2000, 0x2000), u"Unknown verdict."},
        {info(static_cast<TTargetVerdict>(255), 0x2000, 0x2000), u"Unknown verdict."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Info.Verdict));
        EXPECT_EQ(VerdictText(c.Info), c.Text);
    }
}

TEST(TargetVerdictText, UnreachableWarningNamesThePid) {
    EXPECT_EQ(UnreachableWarningText(4242), u"Tarvin.Target: cannot read the integrity level of PID 4242");
    EXPECT_EQ(UnreachableWarningText(4294967295u),
              u"Tarvin.Target: cannot read the integrity level of PID 4294967295");
}

TEST(IntegrityLevelNames, ThresholdsFromTheTopDown) {
    const std::vector<std::pair<std::uint32_t, std::u16string>> cases = {
        {0xFFFFFFFF, u"unknown"},
        {0xFFFFFFFE, u"System"},
        {0x5000, u"System"},
        {0x4000, u"System"},
        {0x3FFF, u"High (elevated)"},
        {0x3000, u"High (elevated)"},
        {0x2100, u"Medium (normal)"},
        {0x2000, u"Medium (normal)"},
        {0x1FFF, u"Low"},
        {0x1000, u"Low"},
        {0x0FFF, u"Untrusted"},
        {0, u"Untrusted"},
    };
    for (const auto& [level, name] : cases) {
        SCOPED_TRACE(level);
        EXPECT_EQ(IntegrityLevelName(level), name);
    }
}

TEST(ClassMatching, TrimmedEntriesWithAsciiCaseFolding) {
    struct TCase {
        Strings Classes;
        std::u16string ClassName;
        bool Accepted;
    };
    const std::vector<TCase> cases = {
        {{u"ConsoleWindowClass"}, u"ConsoleWindowClass", true},
        {{u"ConsoleWindowClass"}, u"CONSOLEWINDOWCLASS", true},
        {{u"ConsoleWindowClass"}, u"ConsoleWindow", false},
        {{u"ConsoleWindowClass"}, u"ConsoleWindowClass2", false},
        {{u"ConsoleWindowClass"}, u" ConsoleWindowClass", false}, // the class name is not trimmed
        {{u" ConsoleWindowClass\t"}, u"ConsoleWindowClass", true},
        {{u"Alpha ", u" Beta"}, u"Beta", true},
        {{u"Alpha ", u" Beta"}, u"Alpha", true},
        {{u"\u00C9cran"}, u"\u00E9cran", false}, // only A-Z fold
        {{u"\u00C9cran"}, u"\u00C9CRAN", true},
        {{u"", u""}, u"", true},
        {{u"   "}, u"", true},
        {{u"", u""}, u"ConsoleWindowClass", false},
        {{u"ConsoleWindowClass"}, u"", false},
        {{}, u"", false},
        {{}, u"ConsoleWindowClass", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("\"" + Utf8(c.ClassName) + "\"");
        EXPECT_EQ(ClassAccepted(&c.Classes, c.ClassName), c.Accepted);
    }
    EXPECT_FALSE(ClassAccepted(nullptr, u""));
    EXPECT_FALSE(ClassAccepted(nullptr, u"ConsoleWindowClass"));
}

TEST(MarkerMatching, CaseSensitiveSubstringsOfTrimmedMarkers) {
    const Strings defaults = TSettings().FTitleMarkers;
    struct TCase {
        Strings Markers;
        std::u16string Title;
        bool Found;
    };
    const std::vector<TCase> cases = {
        {defaults, u"Claude Code", true},
        {defaults, u"My Claude", true},
        {defaults, u"claude", false},
        {defaults, u"CLAUDE", false},
        {defaults, u"\u2733 Working", true},
        {defaults, u"prompt \u2733", true},
        {defaults, u"spin \u25D0 spin", true},
        {defaults, u"\u25D1", false},
        {defaults, u"", false},
        {{u"  Claude\t"}, u"Claude", true},
        {{u" "}, u"anything", false}, // empty markers are skipped
        {{u"", u"X"}, u"title", false},
        {{u"", u"X"}, u"title X", true},
        {{}, u"anything", true},
        {{}, u"", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("\"" + Utf8(c.Title) + "\"");
        EXPECT_EQ(TitleHasMarker(&c.Markers, c.Title), c.Found);
    }
    EXPECT_TRUE(TitleHasMarker(nullptr, u""));
    EXPECT_TRUE(TitleHasMarker(nullptr, u"anything"));
}

TEST(TerminalTest, LooksAtClassAndMarkerButNotIntegrity) {
    struct TCase {
        const char* Name;
        std::u16string ClassName;
        std::u16string Title;
        bool RequireMarker;
        bool Terminal;
    };
    const std::vector<TCase> cases = {
        {"console", u"ConsoleWindowClass", u"cmd", false, true},
        {"other class", u"Notepad", u"Claude", false, false},
        {"marker required and present", u"CASCADIA_HOSTING_WINDOW_CLASS", u"\u2733 Claude Code", true, true},
        {"marker required and missing", u"CASCADIA_HOSTING_WINDOW_CLASS", u"pwsh", true, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScene scene(c.ClassName, c.Title, std::nullopt); // an unreachable process changes nothing here
        const TSettings& s = scene.Settings;
        EXPECT_EQ(IsAcceptedTerminal(scene.Desktop, scene.Window, &s.FAcceptedClasses, &s.FTitleMarkers,
                                     c.RequireMarker),
                  c.Terminal);
        EXPECT_EQ(ForegroundIsTerminal(scene.Desktop, &s.FAcceptedClasses, &s.FTitleMarkers, c.RequireMarker),
                  c.Terminal);
    }
}

TEST(TerminalTest, ElevatedTerminalIsATerminalButTheFullCheckRefusesIt) {
    TScene scene(u"ConsoleWindowClass", u"Administrator: cmd", 0x3000);
    const TSettings& s = scene.Settings;
    EXPECT_TRUE(ForegroundIsTerminal(scene.Desktop, &s.FAcceptedClasses, &s.FTitleMarkers, false));
    EXPECT_EQ(scene.Check().Verdict, tvHigherIntegrity);
}

TEST(TerminalTest, NoWindowIsNoTerminal) {
    platform::sim::TSimDesktop desktop;
    const TSettings s;
    EXPECT_FALSE(IsAcceptedTerminal(desktop, 0, &s.FAcceptedClasses, &s.FTitleMarkers, false));
    EXPECT_FALSE(ForegroundIsTerminal(desktop, &s.FAcceptedClasses, &s.FTitleMarkers, false));
    const Strings emptyClass = {u""};
    // A handle that names no window has an empty class; it must still not count as a terminal.
    EXPECT_FALSE(IsAcceptedTerminal(desktop, 0, &emptyClass, nullptr, false));
}

TEST(WindowFacts, ReadThroughTheWindowFacts) {
    platform::sim::TSimDesktop desktop;
    const auto window = desktop.AddWindow(u"ConsoleWindowClass", u"\u2733 Claude Code", 17);
    EXPECT_EQ(WindowClassOf(desktop, window), u"ConsoleWindowClass");
    EXPECT_EQ(WindowTitleOf(desktop, window), u"\u2733 Claude Code");
    EXPECT_EQ(WindowClassOf(desktop, 0), u"");
    EXPECT_EQ(WindowTitleOf(desktop, 0x7777), u"");
}

TEST(IntegrityFacts, ProcessZeroIsNeverLookedUp) {
    TAnsweringIntegrity integrity;
    EXPECT_EQ(ProcessIntegrityLevel(integrity, 0), Unknown);
    EXPECT_TRUE(integrity.Asked.empty());
    EXPECT_EQ(ProcessIntegrityLevel(integrity, 12), 0x2000u);
    EXPECT_EQ(integrity.Asked, std::vector<std::uint32_t>{12});
}

TEST(IntegrityFacts, ReadThroughTheIntegrityService) {
    platform::sim::TSimDesktop desktop;
    desktop.AddProcess(12, 0x3000);
    desktop.AddUnreachableProcess(13);
    desktop.SetOwnIntegrityLevel(0x1000);
    EXPECT_EQ(ProcessIntegrityLevel(desktop, 12), 0x3000u);
    EXPECT_EQ(ProcessIntegrityLevel(desktop, 13), Unknown);
    EXPECT_EQ(OwnIntegrityLevel(desktop), 0x1000u);
}

} // namespace
} // namespace tarvin
