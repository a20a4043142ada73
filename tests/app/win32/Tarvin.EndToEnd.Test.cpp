// Tarvin.exe end to end: a portable copy and termsim in one Wine prefix, the hotkeys pressed as real
// key chords while termsim is in front. termsim's record, Tarvin's log box and its INI file are the
// evidence.
#include "tests/app/win32/Tarvin.Process.h"
#include "tests/tools/termsim/Termsim.Printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

// The burst is over once Backspace, its last key, came after the level was set.
bool BurstDone(const TEvents& Events) {
    bool effortSet = false;
    for (const TRecordEvent& event : Events) {
        if (std::holds_alternative<TEffortEvent>(event)) {
            effortSet = true;
        }
        if (const auto* key = std::get_if<TKeyEvent>(&event); key != nullptr && effortSet) {
            if (key->Key == TKey::Backspace) {
                return true;
            }
        }
    }
    return false;
}

std::u16string FinalPrompt(const TEvents& Events) {
    const std::vector<TPromptState> states = All<TPromptState>(Events);
    return states.empty() ? std::u16string(u"<no prompt state>") : states.back().Text;
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

// --- bursts with the default settings ---

struct TPromptCase {
    const char* Name;
    std::wstring Prompt; // termsim's --prompt: "\n" written as backslash and n
    std::wstring Cursor;
    std::u16string Text; // the same prompt as the record shows it
    WORD Key;
    std::u16string Level;
};

void PrintTo(const TPromptCase& c, std::ostream* os) {
    *os << c.Name;
}

class DefaultBurst : public testing::TestWithParam<TPromptCase> {};

TEST_P(DefaultBurst, SetsTheLevelAndHandsThePromptBackWithoutSubmittingIt) {
    const TPromptCase& c = GetParam();
    TTarvin tarvin; // no INI: a first run on every default
    ASSERT_TRUE(tarvin.Start());
    TTermsim terminal({L"--prompt", c.Prompt, L"--cursor", c.Cursor});
    ASSERT_TRUE(terminal.Start());
    ASSERT_TRUE(HotkeysHeld(c.Key));

    ASSERT_TRUE(PressCtrlAlt(c.Key));

    TEvents events;
    ASSERT_TRUE(WaitUntil([&] { return BurstDone(events = terminal.WaitForEvents(0)); }))
        << termsim::test::RecordText(events);
    EXPECT_EQ(All<TEffortEvent>(events), std::vector<TEffortEvent>{TEffortEvent{c.Level}});
    EXPECT_TRUE(All<TSubmittedEvent>(events).empty()) << "the prompt was sent off as a message";
    EXPECT_TRUE(All<TFailedEvent>(events).empty());
    EXPECT_EQ(FinalPrompt(events), c.Text);
    EXPECT_TRUE(TTarvin::LogHas(L"Typed \"/effort " + Wide(c.Level) + L"\" into ConsoleWindowClass (\"" +
                                Wide(ClaudeTitle) + L"\")."));
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, DefaultBurst,
    testing::Values(TPromptCase{"Empty", L"", L"0,0", u"", '3', u"high"},
                    TPromptCase{"OneLineCursorAtStart", L"fix the parser", L"0,0", u"fix the parser", '1', u"low"},
                    TPromptCase{"OneLineCursorInTheMiddle", L"fix the parser", L"0,4", u"fix the parser", '2',
                                u"medium"},
                    TPromptCase{"OneLineCursorAtTheEnd", L"fix the parser", L"0,14", u"fix the parser", '4',
                                u"xhigh"},
                    TPromptCase{"ThreeLinesCursorAtStart", L"first\\nsecond line\\nthird", L"0,0",
                                u"first\nsecond line\nthird", '5', u"max"},
                    TPromptCase{"ThreeLinesCursorInTheMiddle", L"first\\nsecond line\\nthird", L"1,3",
                                u"first\nsecond line\nthird", '3', u"high"},
                    TPromptCase{"ThreeLinesCursorAtTheEnd", L"first\\nsecond line\\nthird", L"2,5",
                                u"first\nsecond line\nthird", '2', u"medium"}),
    [](const testing::TestParamInfo<TPromptCase>& test) { return std::string(test.param.Name); });

TEST(TarvinEndToEnd, TheBurstsEntersAnswerTheConfirmationQuestion) {
    TTarvin tarvin("[Hotkeys]\r\n");
    ASSERT_TRUE(tarvin.Start());
    TTermsim terminal({L"--confirm", L"--prompt", L"half typed", L"--cursor", L"0,4"});
    ASSERT_TRUE(terminal.Start());
    ASSERT_TRUE(HotkeysHeld('4'));

    ASSERT_TRUE(PressCtrlAlt('4'));

    TEvents events;
    ASSERT_TRUE(WaitUntil([&] { return BurstDone(events = terminal.WaitForEvents(0)); }))
        << termsim::test::RecordText(events);
    EXPECT_EQ(All<TQuestionEvent>(events), std::vector<TQuestionEvent>{TQuestionEvent{u"Change effort level?"}});
    EXPECT_EQ(All<TEffortEvent>(events), std::vector<TEffortEvent>{TEffortEvent{u"xhigh"}});
    EXPECT_TRUE(All<TSubmittedEvent>(events).empty());
    EXPECT_EQ(FinalPrompt(events), u"half typed");
}

TEST(TarvinEndToEnd, FocusMovedDuringABurstStopsItAndSaysWhereThePromptWasLeft) {
    TTarvin tarvin("[Hotkeys]\r\n");
    ASSERT_TRUE(tarvin.Start());
    TTermsim terminal({L"--prompt", L"keep me"});
    ASSERT_TRUE(terminal.Start());
    ASSERT_TRUE(HotkeysHeld('3'));

    ASSERT_TRUE(PressCtrlAlt('3'));
    // A few clearing keys in, another window comes to the front.
    ASSERT_TRUE(WaitUntil([&] { return KeyCount(terminal.WaitForEvents(0)) >= 3; }));
    TTermsim other({L"--class", L"Notepad", L"--title", L"notes.txt"});
    ASSERT_TRUE(other.Start());

    ASSERT_TRUE(WaitUntil([] { return TTarvin::LogHas(L"The focus left the terminal"); }))
        << "no focus-loss line in the log box";
    const std::size_t keysAtTheLine = KeyCount(terminal.WaitForEvents(0));
    ASSERT_TRUE(tarvin.Close());

    EXPECT_EQ(KeyCount(other.WaitForEvents(0)), 0u) << "a keystroke reached the window in front";
    EXPECT_EQ(KeyCount(terminal.WaitForEvents(0)), keysAtTheLine) << "the burst went on after it stopped";
    EXPECT_TRUE(All<TEffortEvent>(terminal.WaitForEvents(0)).empty());
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
