// Tarvin.exe end to end: a portable copy and termsim in one Wine prefix, the hotkeys pressed as real
// key chords while termsim is in front. termsim's record, Tarvin's log box and its INI file are the
// evidence.
#include "tests/app/win32/Tarvin.Process.h"
#include "tests/tools/termsim/Termsim.Printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace tarvin::test {
namespace {

using termsim::TEffortEvent;
using termsim::TFailedEvent;
using termsim::TKey;
using termsim::TKeyEvent;
using termsim::TPromptState;
using termsim::TQuestionEvent;
using termsim::TRecordEvent;
using termsim::TSubmittedEvent;
using termsim::test::TEvents;
using termsim::test::TTermsim;

constexpr char16_t ClaudeTitle[] = u"\u2733 Claude Code";

std::size_t KeyCount(const TEvents& Events) {
    return static_cast<std::size_t>(std::count_if(Events.begin(), Events.end(), [](const TRecordEvent& e) {
        return std::holds_alternative<TKeyEvent>(e);
    }));
}

template <typename TEvent> std::vector<TEvent> All(const TEvents& Events) {
    std::vector<TEvent> found;
    for (const TRecordEvent& event : Events) {
        if (const auto* e = std::get_if<TEvent>(&event)) {
            found.push_back(*e);
        }
    }
    return found;
}

std::wstring Wide(const std::u16string& Text) {
    return std::wstring(Text.begin(), Text.end());
}

// Waits until Tarvin holds the level's chord. Level 5's chord is probed for the others: the grip
// registers the five in order, so the lower ones are held by then and the probe never competes
// for the chord the test presses.
testing::AssertionResult HotkeysHeld(WORD PressedKey) {
    const WORD probe = PressedKey == '5' ? '1' : '5';
    if (!WaitUntil([&] { return ChordTaken(probe); })) {
        return testing::AssertionFailure() << "Tarvin did not take its hotkeys while the terminal was in front";
    }
    return testing::AssertionSuccess();
}

// The last prompt state the record holds.
std::optional<TPromptState> FinalPrompt(const TEvents& Events) {
    const std::vector<TPromptState> states = All<TPromptState>(Events);
    return states.empty() ? std::nullopt : std::optional(states.back());
}

std::string Harms(const TEvents& Events) {
    std::string text;
    for (const TRecordEvent& event : Events) {
        if (termsim::IsHarm(event)) {
            text += termsim::FormatRecordLine(event);
        }
    }
    return text;
}

// The log box's lines from index From on.
std::vector<std::wstring> LinesSince(std::size_t From) {
    const std::vector<std::wstring> lines = TTarvin::LogLines();
    return From < lines.size() ? std::vector<std::wstring>(lines.begin() + static_cast<std::ptrdiff_t>(From), lines.end())
                               : std::vector<std::wstring>{};
}

// The log box for a failure message.
std::string LogText(std::size_t From = 0) {
    std::string text;
    for (const std::wstring& line : LinesSince(From)) {
        text += platform::win32::test::Utf8Of(line) + "\n";
    }
    return text;
}

bool AnyStartsWith(const std::vector<std::wstring>& Lines, const std::wstring& Start) {
    return std::any_of(Lines.begin(), Lines.end(), [&](const std::wstring& line) { return line.starts_with(Start); });
}

// --- one table over the states of a Claude Code terminal (termsim in console mode) ---

enum class TOutcome {
    Set,          // the level changed and the draft is back as it was: text, caret, mode
    SetStashBack, // the level changed, and the stash that was there came back as after any message
    Refused,      // nothing reached the terminal
    TakenBack,    // keys went out, none that submits, and the prompt is as before
};

struct TStateCase {
    const char* Name;
    std::vector<std::wstring> Options; // termsim's, besides --console
    TOutcome Outcome;
    std::wstring LastLine; // Tarvin's line that ends the burst starts so
};

void PrintTo(const TStateCase& c, std::ostream* os) {
    *os << c.Name;
}

const std::wstring LevelSet = L"Claude Code shows the effort is now max.";

std::wstring LinesText(int Count) {
    std::wstring text;
    for (int i = 1; i <= Count; ++i) {
        text += (i > 1 ? L"\\n" : L"") + std::wstring(L"line ") + std::to_wstring(i);
    }
    return text;
}

std::vector<std::wstring> DraftOptions(int Lines, int CursorLine, int CursorColumn) {
    return {L"--prompt", LinesText(Lines), L"--cursor",
            std::to_wstring(CursorLine) + L"," + std::to_wstring(CursorColumn)};
}

template <typename... T> std::vector<std::wstring> Join(std::vector<std::wstring> First, T... More) {
    (First.insert(First.end(), More.begin(), More.end()), ...);
    return First;
}

// One Tarvin for the whole table: a later run, so its window stays in the tray.
class TerminalStates : public testing::TestWithParam<TStateCase> {
protected:
    static void SetUpTestSuite() {
        Shared = new TTarvin("[Hotkeys]\r\n[AppData Settings]\r\nShowOnError=0\r\n");
        Started = Shared->Start();
    }
    static void TearDownTestSuite() {
        delete Shared;
        Shared = nullptr;
    }
    static TTarvin* Shared;
    static bool Started;
};
TTarvin* TerminalStates::Shared = nullptr;
bool TerminalStates::Started = false;

TEST_P(TerminalStates, SetTheLevelWithTheDraftBackOrRefuseBeforeAnyHarm) {
    const TStateCase& c = GetParam();
    ASSERT_TRUE(Started);
    TTermsim terminal(Join(std::vector<std::wstring>{L"--console"}, c.Options));
    ASSERT_TRUE(terminal.Start());
    const std::optional<TPromptState> before = FinalPrompt(terminal.Events());
    ASSERT_TRUE(before.has_value());
    ASSERT_TRUE(HotkeysHeld('5'));
    const std::size_t logFrom = TTarvin::LogLines().size();

    ASSERT_TRUE(PressCtrlAlt('5'));

    ASSERT_TRUE(WaitUntil([&] { return AnyStartsWith(LinesSince(logFrom), c.LastLine); }))
        << "no line starting \"" << platform::win32::test::Utf8Of(c.LastLine) << "\" in the log box:\n"
        << LogText(logFrom) << termsim::test::RecordText(terminal.Events());
    // The burst's last keys, if any, are in the record once termsim has handled them.
    const TEvents events = terminal.WaitForEvents(0);
    const std::optional<TPromptState> after = FinalPrompt(terminal.Events());
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(Harms(events), "") << termsim::test::RecordText(events);
    const std::vector<TEffortEvent> levels = All<TEffortEvent>(events);
    switch (c.Outcome) {
    case TOutcome::Set:
        EXPECT_EQ(levels, std::vector<TEffortEvent>{TEffortEvent{u"max"}}) << termsim::test::RecordText(events);
        EXPECT_EQ(*after, *before) << termsim::test::RecordText(events);
        break;
    case TOutcome::SetStashBack:
        EXPECT_EQ(levels, std::vector<TEffortEvent>{TEffortEvent{u"max"}});
        EXPECT_EQ(after->Text, before->Stash.value_or(u"<no stash>"));
        break;
    case TOutcome::Refused:
        EXPECT_TRUE(All<TKeyEvent>(events).empty()) << termsim::test::RecordText(events);
        EXPECT_TRUE(levels.empty());
        break;
    case TOutcome::TakenBack:
        EXPECT_TRUE(levels.empty());
        EXPECT_EQ(after->Text, before->Text) << termsim::test::RecordText(events);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ClaudeCode, TerminalStates,
    testing::Values(
        TStateCase{"EmptyPrompt", {}, TOutcome::Set, LevelSet},
        TStateCase{"OneLineCaretAtTop", DraftOptions(1, 0, 0), TOutcome::Set, LevelSet},
        TStateCase{"OneLineCaretInTheMiddle", DraftOptions(1, 0, 3), TOutcome::Set, LevelSet},
        TStateCase{"OneLineCaretAtTheEnd", DraftOptions(1, 0, 6), TOutcome::Set, LevelSet},
        TStateCase{"EightLinesCaretAtTop", DraftOptions(8, 0, 2), TOutcome::Set, LevelSet},
        TStateCase{"EightLinesCaretInTheMiddle", DraftOptions(8, 4, 3), TOutcome::Set, LevelSet},
        TStateCase{"EightLinesCaretAtTheEnd", DraftOptions(8, 7, 6), TOutcome::Set, LevelSet},
        TStateCase{"NineLinesCaretAtTop", DraftOptions(9, 0, 2), TOutcome::Set, LevelSet},
        TStateCase{"NineLinesCaretInTheMiddle", DraftOptions(9, 4, 3), TOutcome::Set, LevelSet},
        TStateCase{"NineLinesCaretAtTheEnd", DraftOptions(9, 8, 6), TOutcome::Set, LevelSet},
        TStateCase{"ThirtyLinesCaretAtTop", DraftOptions(30, 0, 2), TOutcome::Set, LevelSet},
        TStateCase{"ThirtyLinesCaretInTheMiddle", DraftOptions(30, 15, 3), TOutcome::Set, LevelSet},
        TStateCase{"ThirtyLinesCaretAtTheEnd", DraftOptions(30, 29, 7), TOutcome::Set, LevelSet},
        TStateCase{"AStashPresent", {L"--stash", L"older draft"}, TOutcome::SetStashBack,
                   L"The draft you had stashed with Ctrl+S came back"},
        TStateCase{"AStashAndADraft", Join(DraftOptions(1, 0, 6), std::vector<std::wstring>{L"--stash", L"older"}),
                   TOutcome::Refused, L"The prompt holds a draft while another one waits in Claude Code's stash"},
        TStateCase{"APastedBlock",
                   Join(DraftOptions(1, 0, 6), std::vector<std::wstring>{L"--paste", LinesText(29)}), TOutcome::Set,
                   LevelSet},
        TStateCase{"BashModeDraft", Join(DraftOptions(1, 0, 6), std::vector<std::wstring>{L"--bash"}), TOutcome::Set,
                   LevelSet},
        TStateCase{"BashModeEmpty", {L"--bash"}, TOutcome::Set, LevelSet},
        TStateCase{"VimInsert", Join(DraftOptions(2, 1, 3), std::vector<std::wstring>{L"--vim", L"insert"}),
                   TOutcome::Set, LevelSet},
        TStateCase{"VimNormal", {L"--vim", L"normal"}, TOutcome::TakenBack, L"Nothing was sent to Claude Code."},
        TStateCase{"PermissionDialogOpen", Join(DraftOptions(1, 0, 6), std::vector<std::wstring>{L"--open", L"permission"}),
                   TOutcome::Refused, L"Nothing was typed: a permission dialog is open"},
        TStateCase{"CommandMenuOpen", {L"--open", L"slash"}, TOutcome::Set, LevelSet},
        TStateCase{"Busy", Join(DraftOptions(1, 0, 6), std::vector<std::wstring>{L"--busy"}), TOutcome::Set, L"Typed"},
        TStateCase{"QuestionShown", Join(DraftOptions(3, 1, 3), std::vector<std::wstring>{L"--question"}),
                   TOutcome::Set, LevelSet},
        TStateCase{"QuestionNotShown", DraftOptions(3, 1, 3), TOutcome::Set, LevelSet},
        TStateCase{"AShellNotClaudeCode", {L"--shell", L"--title", Wide(ClaudeTitle)}, TOutcome::Refused,
                   L"Nothing was typed: the window shows no Claude Code prompt."}),
    [](const testing::TestParamInfo<TStateCase>& test) { return std::string(test.param.Name); });

// Where the window hosts no console, the press is refused by default and the setting that allows
// the blind schedule is named.
TEST(TarvinEndToEnd, AnUnreadableTerminalIsRefusedWithTheSettingThatAllowsTypingBlind) {
    TTarvin tarvin("[Hotkeys]\r\n");
    ASSERT_TRUE(tarvin.Start());
    TTermsim terminal({L"--prompt", L"keep me"});
    ASSERT_TRUE(terminal.Start());
    ASSERT_TRUE(HotkeysHeld('3'));

    ASSERT_TRUE(PressCtrlAlt('3'));

    ASSERT_TRUE(WaitUntil([] { return TTarvin::LogHas(L"Tarvin cannot read this terminal's screen"); }));
    EXPECT_TRUE(TTarvin::LogHas(L"Tarvin cannot read this terminal's screen"));
    EXPECT_TRUE(All<TKeyEvent>(terminal.WaitForEvents(0)).empty());
}

// The user allowed the blind schedule: the old fixed keys, which a plain prompt survives.
TEST(TarvinEndToEnd, TheBlindScheduleTypesWhereTheUserAllowedIt) {
    TTarvin tarvin("[Hotkeys]\r\n[Sending]\r\nBlindWhenUnreadable=1\r\n");
    ASSERT_TRUE(tarvin.Start());
    TTermsim terminal({L"--prompt", L"half typed", L"--cursor", L"0,4"});
    ASSERT_TRUE(terminal.Start());
    ASSERT_TRUE(HotkeysHeld('4'));

    ASSERT_TRUE(PressCtrlAlt('4'));

    TEvents events;
    ASSERT_TRUE(WaitUntil([&] {
        events = terminal.WaitForEvents(0);
        const std::vector<TKeyEvent> keys = All<TKeyEvent>(events);
        return !keys.empty() && keys.back().Key == termsim::TKey::Backspace;
    })) << termsim::test::RecordText(events);
    EXPECT_EQ(All<TEffortEvent>(events), std::vector<TEffortEvent>{TEffortEvent{u"xhigh"}});
    EXPECT_EQ(Harms(events), "");
    EXPECT_EQ(FinalPrompt(events).value_or(TPromptState{}).Text, u"half typed");
}

TEST(TarvinEndToEnd, FocusMovedDuringABurstStopsItAndSaysWhereThePromptWasLeft) {
    TTarvin tarvin("[Hotkeys]\r\n");
    ASSERT_TRUE(tarvin.Start());
    // A slow question keeps the burst waiting long enough for another window to come forward.
    TTermsim terminal({L"--console", L"--prompt", L"keep me", L"--question", L"--question-delay", L"3000"});
    ASSERT_TRUE(terminal.Start());
    ASSERT_TRUE(HotkeysHeld('3'));

    ASSERT_TRUE(PressCtrlAlt('3'));
    ASSERT_TRUE(WaitUntil([&] { return !All<TQuestionEvent>(terminal.WaitForEvents(0)).empty() ||
                                       TTarvin::LogHas(L"Typed \"/effort high\""); }))
        << LogText();
    TTermsim other({L"--class", L"Notepad", L"--title", L"notes.txt"});
    ASSERT_TRUE(other.Start());

    ASSERT_TRUE(WaitUntil([] { return TTarvin::LogHas(L"The focus left the terminal"); }))
        << "no focus-loss line in the log box";
    ASSERT_TRUE(tarvin.Close());

    EXPECT_TRUE(All<TKeyEvent>(other.WaitForEvents(0)).empty()) << "a keystroke reached the window in front";
    EXPECT_EQ(Harms(terminal.WaitForEvents(0)), "");
}

// --- refusals: the hotkeys held everywhere, so that the press reaches Tarvin ---

struct TRefusalCase {
    const char* Name;
    std::string Ini;
    std::wstring Class;
    std::wstring Title;
    std::wstring Line;
};

void PrintTo(const TRefusalCase& c, std::ostream* os) {
    *os << c.Name;
}

class Refusal : public testing::TestWithParam<TRefusalCase> {};

TEST_P(Refusal, TypesNothingAndLogsWhy) {
    const TRefusalCase& c = GetParam();
    TTarvin tarvin(c.Ini);
    ASSERT_TRUE(tarvin.Start());
    TTermsim window({L"--class", c.Class, L"--title", c.Title});
    ASSERT_TRUE(window.Start());
    ASSERT_TRUE(HotkeysHeld('2'));

    ASSERT_TRUE(PressCtrlAlt('2'));

    ASSERT_TRUE(WaitUntil([&] { return TTarvin::LogHas(c.Line); })) << "no refusal line in the log box";
    ASSERT_TRUE(tarvin.Close());
    EXPECT_EQ(KeyCount(window.WaitForEvents(0)), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, Refusal,
    testing::Values(TRefusalCase{"ClassNotInTheList", "[Target]\r\nHotkeyOnlyOnTerminal=0\r\n", L"Notepad",
                                 L"notes.txt",
                                 L"Focused window is \"Notepad\" (\"notes.txt\"), which is not in the accepted class "
                                 L"list. Nothing was typed."},
                    TRefusalCase{"TitleWithoutMarker",
                                 "[Target]\r\nHotkeyOnlyOnTerminal=0\r\nRequireTitleMarker=1\r\n",
                                 L"CASCADIA_HOSTING_WINDOW_CLASS", L"Windows PowerShell",
                                 L"Focused window is a terminal but its title \"Windows PowerShell\" carries no Claude "
                                 L"Code marker. Nothing was typed."}),
    [](const testing::TestParamInfo<TRefusalCase>& test) { return std::string(test.param.Name); });

// --- one copy at a time ---

TEST(TarvinEndToEnd, ASecondCopyBringsTheFirstWindowUpAndEndsAtOnce) {
    TTarvin tarvin("[Hotkeys]\r\n"); // a later run: the window hides after start-up
    ASSERT_TRUE(tarvin.Start());
    ASSERT_TRUE(WaitUntil([] { return !IsWindowVisible(TTarvin::Window()); }));

    ASSERT_TRUE(tarvin.StartCopy());

    ASSERT_TRUE(WaitUntil([&] { return tarvin.Exited(1); })) << "the second copy kept running";
    EXPECT_EQ(tarvin.ExitCode(1), 0u);
    EXPECT_FALSE(tarvin.Exited(0));
    EXPECT_TRUE(WaitUntil([] { return IsWindowVisible(TTarvin::Window()) != FALSE; }));
    EXPECT_TRUE(WaitUntil([] {
        return TTarvin::LogHas(L"A second copy of Tarvin was started. It brought this window up and then closed "
                               L"itself.");
    }));
    EXPECT_EQ(FindWindowExW(nullptr, TTarvin::Window(), MainWindowClass, nullptr), nullptr)
        << "the second copy left a window";
}

// --- the INI file ---

TEST(TarvinEndToEnd, AFirstRunWritesEveryKeyAtExit) {
    TTarvin tarvin;
    ASSERT_TRUE(tarvin.Start());
    EXPECT_TRUE(IsWindowVisible(TTarvin::Window())) << "a first run stays visible";
    ASSERT_TRUE(tarvin.Close());

    const std::string ini = tarvin.Ini();
    for (const char* entry :
         {"[Hotkeys]", "low=Ctrl+Alt+1", "medium=Ctrl+Alt+2", "high=Ctrl+Alt+3", "xhigh=Ctrl+Alt+4",
          "max=Ctrl+Alt+5", "[Target]", "AcceptedClasses=", "RequireTitleMarker=0", "HotkeyOnlyOnTerminal=1",
          "[Sending]", "ClearPromptFirst=1", "RestorePromptAfter=1", "EnterCount=", "EnterDelayMs=",
          "ClearDelayMs=", "BeepOnRefusal=1", "TraceGrip=0"}) {
        EXPECT_NE(ini.find(entry), std::string::npos) << entry << " missing from\n" << ini;
    }
    EXPECT_EQ(tarvin.ExitCode(0), 0u);
}

TEST(TarvinEndToEnd, AValueEditedWhileRunningSurvivesTheExit) {
    TTarvin tarvin("[Sending]\r\nEnterCount=4\r\n");
    ASSERT_TRUE(tarvin.Start());
    std::ofstream(tarvin.IniPath(), std::ios::binary) << "[Sending]\r\nEnterCount=6\r\n[Hotkeys]\r\nmax=F9\r\n";

    ASSERT_TRUE(tarvin.Close());

    const std::string ini = tarvin.Ini();
    EXPECT_NE(ini.find("EnterCount=6"), std::string::npos) << ini;
    EXPECT_NE(ini.find("max=F9"), std::string::npos) << ini;
    EXPECT_NE(ini.find("TraceGrip=0"), std::string::npos) << "the missing keys are filled in\n" << ini;
}

TEST(TarvinEndToEnd, AnIniThatCannotBeWrittenAtExitDoesNotStopTheShutdown) {
    TTarvin tarvin("[Sending]\r\nEnterCount=4\r\n");
    ASSERT_TRUE(tarvin.Start());
    const std::string before = tarvin.Ini();
    // Another program holds the file open without sharing it, as an editor or a backup tool may.
    {
        const platform::win32::TKernelHandle held(CreateFileW(tarvin.IniPath().c_str(), GENERIC_READ, 0, nullptr,
                                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);

        ASSERT_TRUE(tarvin.Close());
    }

    EXPECT_EQ(tarvin.ExitCode(0), 0u);
    EXPECT_EQ(tarvin.Ini(), before);
}

// --- the grip ---

TEST(TarvinEndToEnd, TheChordIsFreeForOthersWhileTheTerminalIsAwayAndTakenBackWhenItReturns) {
    TTarvin tarvin("[Hotkeys]\r\n");
    ASSERT_TRUE(tarvin.Start());
    TTermsim terminal({});
    ASSERT_TRUE(terminal.Start());
    ASSERT_TRUE(WaitUntil([] { return ChordTaken('3'); }));

    TTermsim other({L"--class", L"Notepad", L"--title", L"notes.txt"});
    ASSERT_TRUE(other.Start());
    constexpr int ThirdProgramId = 0x7A12;
    ASSERT_TRUE(WaitUntil([] {
        return RegisterHotKey(nullptr, ThirdProgramId, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, '3') != FALSE;
    })) << "Ctrl+Alt+3 stayed taken while another window was in front";
    UnregisterHotKey(nullptr, ThirdProgramId);

    SetForegroundWindow(terminal.Window());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == terminal.Window(); }));
    const auto back = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitUntil([] { return ChordTaken('3'); }));
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - back).count();
    // Reported, not asserted: under a loaded Wine the figure says little about Windows.
    RecordProperty("RetakeMs", static_cast<int>(ms));
    std::printf("Ctrl+Alt+3 taken back %lld ms after the terminal returned\n", static_cast<long long>(ms));
}

} // namespace
} // namespace tarvin::test
