// The main window's bursts against termsim's model of the Claude Code CLI on the simulated
// desktop: one table over the states a user's terminal may be in. Each press ends with the level
// set and the draft back exactly as it was (text, caret, mode), or with a refusal before any key
// that could submit; never a draft sent, a dialog answered, a line run by a shell.
#include "base/Base.Unicode.h"
#include "tests/app/FormMain.Scene.h"
#include "tests/tools/termsim/Termsim.SimTerminal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tarvin::test {
namespace {

using termsim::TCursor;
using termsim::TInputMode;
using termsim::TSetup;
using termsim::TView;
using termsim::TVimMode;

enum class TOutcome {
    Set,       // the level changed, the draft is back as it was
    SetStashBack, // the level changed, and an earlier stash came back into the box, as after any message
    Refused,   // nothing reached the terminal
    TakenBack, // keys went out, none that submits; what they typed was removed, the level stands
};

struct TStateCase {
    const char* Name;
    TSetup Setup;
    TOutcome Outcome;
    std::u16string LogStart = u""; // a line of the burst in the log box starts so
};

void PrintTo(const TStateCase& Case, std::ostream* os) {
    *os << Case.Name;
}

std::u16string Lines(int Count) {
    std::u16string text;
    for (int i = 1; i <= Count; ++i) {
        text += (i > 1 ? u"\n" : u"") + std::u16string(u"line ") + static_cast<char16_t>(u'0' + i % 10);
    }
    return text;
}

TSetup Draft(int LineCount, char Where) {
    TSetup setup;
    setup.Prompt = Lines(LineCount);
    const std::size_t last = static_cast<std::size_t>(LineCount - 1);
    switch (Where) {
    case 't':
        setup.Cursor = TCursor{0, 2};
        break;
    case 'm':
        setup.Cursor = TCursor{last / 2, 3};
        break;
    default:
        setup.Cursor = TCursor{last, 6};
        break;
    }
    return setup;
}

template <typename TChange> TSetup With(TSetup Setup, TChange Change) {
    Change(Setup);
    return Setup;
}

class SightedBurst : public ::testing::TestWithParam<TStateCase> {};

TEST_P(SightedBurst, SetsTheLevelAndGivesTheDraftBackOrRefusesBeforeAnyHarm) {
    const TStateCase& c = GetParam();
    TMainWindowScene scene;
    scene.WriteIni("[Hotkeys]\r\n");
    scene.Start();
    termsim::test::TSimTerminal terminal(scene.Sim.Desktop, scene.Console, c.Setup);
    const termsim::TPromptState before = terminal.Prompt();
    const std::u16string effortBefore = terminal.Effort();
    scene.Focus(scene.Console);
    ASSERT_TRUE(scene.Form->HotkeysHeld());

    ASSERT_TRUE(scene.Press(u"Ctrl+Alt+5"));
    scene.Advance(8000);

    EXPECT_EQ(scene.Form->Phase(), spIdle);
    EXPECT_EQ(terminal.HarmLines(), "") << terminal.RecordText();
    switch (c.Outcome) {
    case TOutcome::Set:
        EXPECT_EQ(terminal.Effort(), u"max") << terminal.RecordText();
        EXPECT_EQ(terminal.Prompt(), before) << terminal.RecordText();
        EXPECT_TRUE(scene.Sim.Desktop.Beeps().empty());
        break;
    case TOutcome::SetStashBack:
        EXPECT_EQ(terminal.Effort(), u"max") << terminal.RecordText();
        EXPECT_EQ(terminal.Prompt().Text, before.Stash.value_or(u"")) << terminal.RecordText();
        EXPECT_FALSE(terminal.Prompt().Stash.has_value());
        break;
    case TOutcome::Refused:
        EXPECT_TRUE(terminal.Keys().empty()) << terminal.RecordText();
        EXPECT_EQ(terminal.Effort(), effortBefore);
        EXPECT_EQ(scene.Sim.Desktop.Beeps(), std::vector<std::uint32_t>{0x10});
        break;
    case TOutcome::TakenBack:
        EXPECT_EQ(terminal.Effort(), effortBefore);
        EXPECT_EQ(terminal.Prompt().Text, before.Text) << terminal.RecordText();
        break;
    }
    if (!c.LogStart.empty()) {
        const auto lines = scene.LogBox();
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const std::u16string& line) { return line.starts_with(c.LogStart); }))
            << base::Utf16ToUtf8(scene.LastLogLine());
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, SightedBurst,
    ::testing::Values(
        TStateCase{"EmptyPrompt", TSetup{}, TOutcome::Set, u"Claude Code shows the effort is now max."},
        TStateCase{"OneLineCaretAtTop", Draft(1, 't'), TOutcome::Set},
        TStateCase{"OneLineCaretAtEnd", Draft(1, 'e'), TOutcome::Set},
        TStateCase{"EightLinesCaretAtTop", Draft(8, 't'), TOutcome::Set},
        TStateCase{"EightLinesCaretInTheMiddle", Draft(8, 'm'), TOutcome::Set},
        TStateCase{"NineLinesCaretAtTop", Draft(9, 't'), TOutcome::Set},
        TStateCase{"NineLinesCaretAtEnd", Draft(9, 'e'), TOutcome::Set},
        TStateCase{"ThirtyLinesCaretAtTop", Draft(30, 't'), TOutcome::Set},
        TStateCase{"ThirtyLinesCaretInTheMiddle", Draft(30, 'm'), TOutcome::Set},
        TStateCase{"ThirtyLinesCaretAtEnd", Draft(30, 'e'), TOutcome::Set},
        TStateCase{"PastedBlock", With(Draft(1, 'e'), [](TSetup& s) { s.Pastes = {Lines(29)}; }), TOutcome::Set},
        TStateCase{"BashModeDraft", With(Draft(1, 'e'), [](TSetup& s) { s.Bash = true; }), TOutcome::Set},
        TStateCase{"BashModeEmpty", With(TSetup{}, [](TSetup& s) { s.Bash = true; }), TOutcome::Set},
        TStateCase{"VimInsert", With(Draft(2, 'm'), [](TSetup& s) { s.Vim = TVimMode::Insert; }), TOutcome::Set},
        TStateCase{"QuestionAsked", With(Draft(3, 'm'), [](TSetup& s) { s.Question = true; }), TOutcome::Set},
        TStateCase{"Busy", With(Draft(1, 't'), [](TSetup& s) { s.Busy = true; }), TOutcome::Set},
        TStateCase{"EarlierStash", With(TSetup{}, [](TSetup& s) { s.Stash = u"older draft"; }), TOutcome::SetStashBack,
                   u"The draft you had stashed with Ctrl+S came back"},
        TStateCase{"StashAndDraft", With(Draft(1, 'e'), [](TSetup& s) { s.Stash = u"older draft"; }),
                   TOutcome::Refused, u"The prompt holds a draft while another one waits in Claude Code's stash"},
        TStateCase{"VimNormal", With(TSetup{}, [](TSetup& s) { s.Vim = TVimMode::Normal; }), TOutcome::TakenBack,
                   u"The command did not appear whole in the prompt"},
        TStateCase{"PermissionDialog", With(Draft(1, 'e'), [](TSetup& s) { s.Open = TView::Permission; }),
                   TOutcome::Refused, u"Nothing was typed: a permission dialog is open"},
        TStateCase{"EffortQuestionOfTheUser", With(TSetup{}, [](TSetup& s) {
                       s.Open = TView::Question;
                       s.QuestionLevel = u"low";
                   }),
                   TOutcome::Refused, u"Nothing was typed: the question \"Change effort level?\" is open"},
        TStateCase{"ModelPicker", With(TSetup{}, [](TSetup& s) { s.Open = TView::ModelPicker; }), TOutcome::Refused,
                   u"Nothing was typed: a picker or settings panel is open"},
        TStateCase{"ConfigPanel", With(TSetup{}, [](TSetup& s) { s.Open = TView::Config; }), TOutcome::Refused},
        TStateCase{"HistorySearch", With(TSetup{}, [](TSetup& s) {
                       s.History = {u"first prompt", u"second prompt"};
                       s.Open = TView::HistorySearch;
                   }),
                   TOutcome::Refused, u"Nothing was typed: history search (Ctrl+R) is open"},
        TStateCase{"AShellNotClaudeCode", With(TSetup{}, [](TSetup& s) { s.Shell = true; }), TOutcome::Refused,
                   u"Nothing was typed: the window shows no Claude Code prompt."}),
    [](const ::testing::TestParamInfo<TStateCase>& test) { return std::string(test.param.Name); });

// Where the console cannot be read, the press is refused by default and the setting that allows
// the blind schedule is named.
TEST(SightedBurstUnreadable, RefusesAndNamesTheSettingThatAllowsTheBlindSchedule) {
    TMainWindowScene scene;
    scene.WriteIni("[Hotkeys]\r\n");
    scene.Start();
    scene.Focus(scene.Console);

    ASSERT_TRUE(scene.Press(u"Ctrl+Alt+3"));
    scene.Advance(3000);

    EXPECT_EQ(scene.Sim.Desktop.InputJournal().size(), 1u) << "only the modifiers were let go";
    EXPECT_TRUE(scene.LastLogLine().starts_with(u"Tarvin cannot read this terminal's screen"));
    EXPECT_NE(scene.LastLogLine().find(u"BlindWhenUnreadable=1 in [Sending] of " + IniPath), std::u16string::npos);
    EXPECT_EQ(scene.Sim.Desktop.Beeps(), std::vector<std::uint32_t>{0x10});
}

// With sight a one-line draft is back well within a second of the press: no fixed Enter train.
TEST(SightedBurstTiming, AOneLineDraftIsBackWithinASecondOfTheSimulatedClock) {
    TMainWindowScene scene;
    scene.WriteIni("[Hotkeys]\r\n");
    scene.Start();
    termsim::test::TSimTerminal terminal(scene.Sim.Desktop, scene.Console, Draft(1, 'e'));
    scene.Focus(scene.Console);
    ASSERT_TRUE(scene.Press(u"Ctrl+Alt+1"));
    const std::uint64_t pressed = scene.Now();
    while (scene.Form->Phase() != spIdle && scene.Now() - pressed < 5000) {
        scene.Advance(5);
    }
    EXPECT_LT(scene.Now() - pressed, 1000u);
    EXPECT_EQ(terminal.Effort(), u"low");
    EXPECT_EQ(terminal.Prompt().Text, u"line 1");
}

} // namespace
} // namespace tarvin::test
