// termsim as the live terminal of a simulated window: key records from Tarvin's sender reach the
// model only while the window is in front, with Ctrl read from the desktop; the screen follows
// the desktop's clock; and Tarvin's own parser reads the screens termsim draws as the CLI's.
#include "app/Tarvin.Screen.h"
#include "app/Tarvin.Sender.h"
#include "base/Base.Unicode.h"
#include "tests/tools/termsim/Termsim.Keys.h"
#include "tests/tools/termsim/Termsim.Printers.h"
#include "tests/tools/termsim/Termsim.SimTerminal.h"

#include <gtest/gtest.h>

#include <functional>

namespace termsim::test {
namespace {

using platform::sim::TSimDesktop;

class SimTerminal : public testing::Test {
protected:
    TSimDesktop Desktop;
    const platform::TWindowHandle Window = Desktop.AddWindow(u"ConsoleWindowClass", u"", 4100);

    void SetUp() override { Desktop.SetForeground(Window); }

    void Send(const tarvin::TKeyBatch& keys) {
        const tarvin::TSendResult result = tarvin::SendKeys(Desktop, keys);
        ASSERT_TRUE(tarvin::SendSucceeded(result));
    }
    static tarvin::TKeyStroke Text(std::u16string text) { return {tarvin::TKey::Text, std::move(text)}; }
    static tarvin::TKeyStroke Key(tarvin::TKey key) { return {key, {}}; }
};

TEST_F(SimTerminal, TarvinsKeysEditTheBoxAndCtrlChordsAreReadFromTheDesktop) {
    TSetup setup;
    setup.Prompt = u"fix the parser";
    TSimTerminal terminal(Desktop, Window, setup);

    Send({Key(tarvin::TKey::CtrlS)});
    Send({Text(u"/effort high")});
    Send({Key(tarvin::TKey::Enter)});

    EXPECT_EQ(terminal.HarmLines(), "");
    EXPECT_EQ(terminal.Effort(), u"high");
    EXPECT_EQ(terminal.Prompt().Text, u"fix the parser") << terminal.RecordText();
    EXPECT_EQ(terminal.Prompt().Stash, std::nullopt);
    EXPECT_EQ(Desktop.Title(Window), u"\u2733 Claude Code");
}

TEST_F(SimTerminal, AKeyWithoutCtrlDownIsTyped) {
    TSimTerminal terminal(Desktop, Window);
    const std::vector<platform::TKeyInput> plainS = {tarvin::MakeKeyInput(platform::VkS, 0, 0),
                                                     tarvin::MakeKeyInput(platform::VkS, 0, platform::KeyEventKeyUp)};

    ASSERT_EQ(Desktop.SendInputBatch(plainS).Inserted, 2u);

    EXPECT_EQ(terminal.Prompt().Text, u"s");
    EXPECT_EQ(terminal.Prompt().Stash, std::nullopt);
}

TEST_F(SimTerminal, KeysReachItOnlyWhileItsWindowIsInFront) {
    TSimTerminal terminal(Desktop, Window);
    Desktop.SetForeground(Desktop.AddWindow(u"Notepad", u"notes.txt", 4200));

    Send({Text(u"typed elsewhere"), Key(tarvin::TKey::Enter)});

    EXPECT_TRUE(terminal.Keys().empty());
    EXPECT_EQ(terminal.Prompt().Text, u"");
}

TEST_F(SimTerminal, TheQuestionComesWithTheDesktopsClock) {
    TSetup setup;
    setup.Question = true;
    TSimTerminal terminal(Desktop, Window, setup);
    Send({Text(u"/effort low"), Key(tarvin::TKey::Enter)});

    Desktop.AdvanceMs(150);
    EXPECT_EQ(tarvin::ReadPromptView(Desktop.ReadScreen(Window).Screens.front()).Kind, tarvin::skPrompt);
    Desktop.AdvanceMs(50);
    const tarvin::TPromptView view = tarvin::ReadPromptView(Desktop.ReadScreen(Window).Screens.front());

    EXPECT_EQ(view.Kind, tarvin::skEffortQuestion);
    EXPECT_TRUE(view.FocusOnYes);
    Send({Key(tarvin::TKey::Enter)});
    EXPECT_EQ(terminal.Effort(), u"low");
    EXPECT_EQ(terminal.HarmLines(), "");
}

TEST_F(SimTerminal, TheWindowTitleTurnsDuringATurnAndTheConsoleCarriesIt) {
    TSetup setup;
    setup.Busy = true;
    setup.TurnMs = 3000;
    TSimTerminal terminal(Desktop, Window, setup);

    EXPECT_EQ(Desktop.Title(Window), u"\u25D0 Claude Code");
    Desktop.AdvanceMs(1100);
    EXPECT_EQ(Desktop.ReadScreen(Window).Screens.front().Title, u"\u25D1 Claude Code");
    EXPECT_EQ(Desktop.Title(Window), u"\u25D1 Claude Code");
    Desktop.AdvanceMs(2000);
    terminal.Advance();
    EXPECT_EQ(Desktop.Title(Window), u"\u2733 Claude Code");
}

TEST_F(SimTerminal, EnterOnAPermissionDialogIsRecordedAsAHarm) {
    TSetup setup;
    setup.Open = TView::Permission;
    TSimTerminal terminal(Desktop, Window, setup);

    Send({Text(u"/effort high"), Key(tarvin::TKey::Enter)});

    EXPECT_TRUE(terminal.Harmed());
    EXPECT_EQ(terminal.HarmLines(), "approved \"Yes\"\n");
}

// --- Tarvin's parser on termsim's screens ---

struct TViewCase {
    const char* Name;
    std::function<void(TSetup&)> Setup;
    std::function<void(TSimTerminal&, TSimDesktop&)> Act;
    tarvin::TScreenKind Kind;
    tarvin::TPromptMode Mode;
    std::vector<std::u16string> Rows;
    std::optional<platform::TScreenCell> Caret;
    bool Scrolled = false;
    bool Stashed = false;
    std::u16string Effort = u"";
    bool FocusOnYes = false;
    bool PastedBlock = false;
};

void PrintTo(const TViewCase& c, std::ostream* os) {
    *os << c.Name;
}

class TarvinReadsTermsim : public SimTerminal, public testing::WithParamInterface<TViewCase> {};

TEST_P(TarvinReadsTermsim, AsItReadsTheCli) {
    const TViewCase& c = GetParam();
    TSetup setup;
    if (c.Setup) {
        c.Setup(setup);
    }
    TSimTerminal terminal(Desktop, Window, setup);
    if (c.Act) {
        c.Act(terminal, Desktop);
    }

    const platform::TScreenRead read = Desktop.ReadScreen(Window);
    ASSERT_EQ(read.Status, platform::TScreenReadStatus::Read);
    ASSERT_EQ(read.Screens.size(), 1u);
    EXPECT_EQ(read.Screens.front().Rows.size(), 30u);
    const tarvin::TPromptView view = tarvin::ReadPromptView(read.Screens.front());

    EXPECT_EQ(view.Kind, c.Kind);
    EXPECT_EQ(view.FocusOnYes, c.FocusOnYes);
    if (c.Kind != tarvin::skPrompt) {
        return;
    }
    EXPECT_EQ(view.Mode, c.Mode);
    std::vector<std::string> rows;
    for (const std::u16string& row : view.Rows) {
        rows.push_back(base::Utf16ToUtf8(row));
    }
    std::vector<std::string> expected;
    for (const std::u16string& row : c.Rows) {
        expected.push_back(base::Utf16ToUtf8(row));
    }
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(view.Caret, c.Caret);
    EXPECT_EQ(view.Scrolled, c.Scrolled);
    EXPECT_EQ(view.Stashed, c.Stashed);
    EXPECT_EQ(view.Effort, c.Effort);
    EXPECT_EQ(view.HasPastedBlock, c.PastedBlock);
}

void Quiet(TSetup& s) {
    s.IndicatorMs = 0;
}

void Type(TSimDesktop& desktop, std::u16string_view text) {
    static_cast<void>(tarvin::SendText(desktop, text));
}

using platform::TScreenCell;
using tarvin::pmBash;
using tarvin::pmNormal;
using tarvin::pmVimInsert;

INSTANTIATE_TEST_SUITE_P(
    Screens, TarvinReadsTermsim,
    testing::Values(
        TViewCase{"EmptyBoxWithTheStartIndicator", nullptr, nullptr, tarvin::skPrompt, pmNormal, {u""},
                  TScreenCell{0, 0}, false, false, u"medium"},
        TViewCase{"DraftWithTheCaretInside",
                  [](TSetup& s) {
                      Quiet(s);
                      s.Prompt = u"fix the parser";
                      s.Cursor = TCursor{0, 10};
                  },
                  nullptr, tarvin::skPrompt, pmNormal, {u"fix the parser"}, TScreenCell{0, 10}},
        TViewCase{"ThreeLines",
                  [](TSetup& s) {
                      Quiet(s);
                      s.Prompt = u"first\nsecond line\nthird";
                      s.Cursor = TCursor{1, 3};
                  },
                  nullptr, tarvin::skPrompt, pmNormal, {u"first", u"second line", u"third"}, TScreenCell{1, 3}},
        TViewCase{"TwelveLinesScrolled",
                  [](TSetup& s) {
                      Quiet(s);
                      s.Prompt = u"l1\nl2\nl3\nl4\nl5\nl6\nl7\nl8\nl9\nl10\nl11\nl12";
                  },
                  nullptr, tarvin::skPrompt, pmNormal,
                  {u"l3", u"l4", u"l5", u"l6", u"l7", u"l8", u"l9", u"l10", u"l11", u"l12"}, TScreenCell{9, 3}, true},
        TViewCase{"AStashAboveAnEmptyBox",
                  [](TSetup& s) {
                      Quiet(s);
                      s.Stash = u"fix the parser";
                  },
                  nullptr, tarvin::skPrompt, pmNormal, {u""}, TScreenCell{0, 0}, false, true},
        TViewCase{"TheLevelAfterAChange", nullptr,
                  [](TSimTerminal&, TSimDesktop& desktop) {
                      desktop.AdvanceMs(9000); // the indicator of the start is gone
                      Type(desktop, u"/effort xhigh");
                      static_cast<void>(tarvin::SendEnter(desktop));
                  },
                  tarvin::skPrompt, pmNormal, {u""}, TScreenCell{0, 0}, false, false, u"xhigh"},
        TViewCase{"BashMode",
                  [](TSetup& s) {
                      Quiet(s);
                      s.Bash = true;
                      s.Prompt = u"ls";
                  },
                  nullptr, tarvin::skPrompt, pmBash, {u"ls"}, TScreenCell{0, 2}},
        TViewCase{"VimInsert",
                  [](TSetup& s) {
                      Quiet(s);
                      s.Vim = TVimMode::Insert;
                      s.Prompt = u"fix";
                  },
                  nullptr, tarvin::skPrompt, pmVimInsert, {u"fix"}, TScreenCell{0, 3}},
        // NORMAL mode draws no marker: the screen shows a plain box.
        TViewCase{"VimNormal",
                  [](TSetup& s) {
                      Quiet(s);
                      s.Vim = TVimMode::Normal;
                      s.Prompt = u"fix";
                  },
                  nullptr, tarvin::skPrompt, pmNormal, {u"fix"}, TScreenCell{0, 2}},
        TViewCase{"APastedBlock", Quiet, [](TSimTerminal& terminal, TSimDesktop&) { terminal.Paste(u"1\n2\n3\n4\n"); },
                  tarvin::skPrompt, pmNormal, {u"[Pasted text #1 +4 lines]"}, TScreenCell{0, 25}, false, false, u"",
                  false, true},
        TViewCase{"TheCommandTypedWhole", Quiet, [](TSimTerminal&, TSimDesktop& desktop) { Type(desktop, u"/effort high"); },
                  tarvin::skPrompt, pmNormal, {u"/effort high"}, TScreenCell{0, 12}},
        TViewCase{"TheShortcutsBelowTheBox", Quiet, [](TSimTerminal&, TSimDesktop& desktop) { Type(desktop, u"?"); },
                  tarvin::skPrompt, pmNormal, {u""}, TScreenCell{0, 0}},
        TViewCase{"TheCommandMenuAboveTheBox", Quiet, [](TSimTerminal&, TSimDesktop& desktop) { Type(desktop, u"/eff"); },
                  tarvin::skPrompt, pmNormal, {u"/eff"}, TScreenCell{0, 4}},
        TViewCase{"TheEffortQuestion", [](TSetup& s) { s.Open = TView::Question; }, nullptr, tarvin::skEffortQuestion,
                  pmNormal, {}, std::nullopt, false, false, u"", true},
        TViewCase{"ThePermissionDialog", [](TSetup& s) { s.Open = TView::Permission; }, nullptr,
                  tarvin::skPermission, pmNormal, {}, std::nullopt},
        TViewCase{"TheModelPicker", [](TSetup& s) { s.Open = TView::ModelPicker; }, nullptr, tarvin::skPicker,
                  pmNormal, {}, std::nullopt},
        TViewCase{"TheEffortSlider", [](TSetup& s) { s.Open = TView::EffortPicker; }, nullptr, tarvin::skPicker,
                  pmNormal, {}, std::nullopt},
        TViewCase{"TheSettingsPanel", [](TSetup& s) { s.Open = TView::Config; }, nullptr, tarvin::skPicker,
                  pmNormal, {}, std::nullopt},
        TViewCase{"HistorySearch", [](TSetup& s) { s.Open = TView::HistorySearch; }, nullptr,
                  tarvin::skHistorySearch, pmNormal, {}, std::nullopt},
        TViewCase{"APlainShell", [](TSetup& s) { s.Shell = true; }, nullptr, tarvin::skUnknown, pmNormal, {},
                  std::nullopt}),
    [](const testing::TestParamInfo<TViewCase>& test) { return std::string(test.param.Name); });

} // namespace
} // namespace termsim::test
