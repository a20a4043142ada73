// The CLI around the box: the stash, bash and vim modes, pasted blocks, the effort command and its
// delayed question, the dialogs that take Enter as a harm, a running turn, and the plain shell.
#include "base/Base.Unicode.h"
#include "tests/tools/termsim/Termsim.Driver.h"
#include "tests/tools/termsim/Termsim.Printers.h"
#include "tools/termsim/Termsim.Model.h"

#include <gtest/gtest.h>

namespace termsim::test {
namespace {

const TKeyEvent CtrlS{TKey::CtrlS, 0};
const TKeyEvent Enter{TKey::Enter, 0};

// --- the stash ---

struct TStashCase {
    const char* Name;
    std::u16string Text;
    TCursor Cursor;
    std::optional<std::u16string> Stash;
    bool Bash;
    TKeys Keys;
    std::u16string ExpectedText;
    TCursor ExpectedCursor;
    std::optional<std::u16string> ExpectedStash;
    TInputMode ExpectedMode;
    std::string Outcomes;
};

void PrintTo(const TStashCase& c, std::ostream* os) {
    *os << c.Name;
}

class Stash : public testing::TestWithParam<TStashCase> {};

TEST_P(Stash, PutsTheDraftAsideAndBringsItBack) {
    const TStashCase& c = GetParam();
    TSetup setup;
    setup.Prompt = c.Text;
    setup.Cursor = c.Cursor;
    setup.Stash = c.Stash;
    setup.Bash = c.Bash;
    TDriver driver(setup);

    driver.Press(c.Keys);

    const TPromptState prompt = driver.Prompt();
    EXPECT_EQ(prompt.Text, c.ExpectedText);
    EXPECT_EQ(prompt.Cursor, c.ExpectedCursor);
    EXPECT_EQ(prompt.Stash, c.ExpectedStash);
    EXPECT_EQ(prompt.Mode, c.ExpectedMode);
    EXPECT_EQ(driver.Outcomes(), c.Outcomes);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Stash,
    testing::Values(
        TStashCase{"CtrlSPutsTheDraftAsideAndEmptiesTheBox", u"fix the parser", {0, 4}, std::nullopt, false, {CtrlS},
                   u"", {0, 0}, u"fix the parser", TInputMode::Normal, "stashed \"fix the parser\"\n"},
        TStashCase{"CtrlSOnAnEmptyBoxBringsTheStashBackWithItsCaret", u"fix the parser", {0, 4}, std::nullopt, false,
                   {CtrlS, CtrlS}, u"fix the parser", {0, 4}, std::nullopt, TInputMode::Normal,
                   "stashed \"fix the parser\"\nunstashed \"fix the parser\"\n"},
        TStashCase{"CtrlSOnAnEmptyBoxWithoutAStashDoesNothing", u"", {0, 0}, std::nullopt, false, {CtrlS}, u"", {0, 0},
                   std::nullopt, TInputMode::Normal, ""},
        TStashCase{"CtrlSWithADraftReplacesAStashAndLosesIt", u"second draft", {0, 12}, u"fix the parser", false,
                   {CtrlS}, u"", {0, 0}, u"second draft", TInputMode::Normal,
                   "stash lost \"fix the parser\"\nstashed \"second draft\"\n"},
        TStashCase{"TheStashKeepsBashMode", u"ls -la", {0, 6}, std::nullopt, true, {CtrlS}, u"", {0, 0}, u"ls -la",
                   TInputMode::Normal, "stashed \"ls -la\"\nmode normal\n"},
        TStashCase{"BashModeComesBackWithTheStash", u"ls -la", {0, 2}, std::nullopt, true, {CtrlS, CtrlS}, u"ls -la",
                   {0, 2}, std::nullopt, TInputMode::Bash,
                   "stashed \"ls -la\"\nmode normal\nunstashed \"ls -la\"\nmode bash\n"},
        TStashCase{"AnEmptyBashBoxIsNoDraft", u"", {0, 0}, u"kept", true, {CtrlS}, u"kept", {0, 4}, std::nullopt,
                   TInputMode::Normal, "unstashed \"kept\"\nmode normal\n"},
        TStashCase{"TheStashComesBackAfterTheEffortCommand", u"fix the parser", {0, 14}, std::nullopt, false,
                   Seq({{CtrlS}, Typed(u"/effort high"), {Enter}}), u"fix the parser", {0, 14}, std::nullopt,
                   TInputMode::Normal, "stashed \"fix the parser\"\neffort high\nunstashed \"fix the parser\"\n"},
        TStashCase{"TheStashComesBackAfterTextWasSent", u"fix", {0, 3}, std::nullopt, false,
                   Seq({{CtrlS}, Typed(u"hello there"), {Enter}}), u"fix", {0, 3}, std::nullopt, TInputMode::Normal,
                   "stashed \"fix\"\nsubmitted \"hello there\"\nunstashed \"fix\"\n"},
        TStashCase{"TheStashComesBackAfterAFailedCommand", u"fix", {0, 3}, std::nullopt, false,
                   Seq({{CtrlS}, Typed(u"/vim"), {Enter}}), u"fix", {0, 3}, std::nullopt, TInputMode::Normal,
                   "stashed \"fix\"\nfailed \"Unknown command: /vim\"\nunstashed \"fix\"\n"},
        TStashCase{"NothingSentKeepsTheStash", u"fix", {0, 3}, std::nullopt, false, Seq({{CtrlS}, {Enter}}), u"",
                   {0, 0}, u"fix", TInputMode::Normal, "stashed \"fix\"\n"}),
    [](const testing::TestParamInfo<TStashCase>& test) { return std::string(test.param.Name); });

TEST(StashAndQuestion, TheStashComesBackOnlyOnceTheQuestionIsAnswered) {
    TSetup setup;
    setup.Prompt = u"fix the parser";
    setup.Question = true;
    TDriver driver(setup);

    driver.Press(CtrlS).Type(u"/effort high").Press(Enter).Wait(50);
    EXPECT_EQ(driver.Prompt().Stash, std::optional<std::u16string>(u"fix the parser"));
    driver.Wait(200);
    ASSERT_EQ(driver.Prompt().View, TView::Question);
    driver.Press(Enter);

    EXPECT_EQ(driver.Outcomes(), "stashed \"fix the parser\"\nview question\nquestion \"Change effort level?\" "
                                 "level=high\nanswered yes\nview prompt\neffort high\nunstashed \"fix the parser\"\n");
    EXPECT_EQ(driver.Prompt().Text, u"fix the parser");
}

TEST(StashAndPaste, AStashedDraftKeepsItsPastedBlock) {
    const std::u16string block = u"l1\nl2\nl3\nl4";
    TDriver driver;
    driver.Paste(block).Press(CtrlS).Press(CtrlS).Press(Enter);

    EXPECT_EQ(driver.All<TSubmittedEvent>(), std::vector<TSubmittedEvent>{{block}});
    EXPECT_TRUE(driver.All<TUnexpandedEvent>().empty());
}

// --- bash mode ---

struct TBashCase {
    const char* Name;
    std::u16string Text;
    bool Bash;
    TKeys Keys;
    std::u16string ExpectedText;
    TInputMode ExpectedMode;
    std::string Outcomes;
};

void PrintTo(const TBashCase& c, std::ostream* os) {
    *os << c.Name;
}

class BashMode : public testing::TestWithParam<TBashCase> {};

TEST_P(BashMode, BeginsAndEndsAsTheCliDoes) {
    const TBashCase& c = GetParam();
    TSetup setup;
    setup.Prompt = c.Text;
    setup.Bash = c.Bash;
    TDriver driver(setup);

    driver.Press(c.Keys);

    EXPECT_EQ(driver.Prompt().Text, c.ExpectedText);
    EXPECT_EQ(driver.Prompt().Mode, c.ExpectedMode);
    EXPECT_EQ(driver.Outcomes(), c.Outcomes);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BashMode,
    testing::Values(
        TBashCase{"BangOnAnEmptyBoxBeginsItAndIsNotTyped", u"", false, Typed(u"!ls"), u"ls", TInputMode::Bash,
                  "mode bash\n"},
        TBashCase{"BangAfterTextIsText", u"a", false, Typed(u"!"), u"a!", TInputMode::Normal, ""},
        TBashCase{"BackspaceOnAnEmptyBashBoxEndsIt", u"", true, Keys({TKey::Backspace}), u"", TInputMode::Normal,
                  "mode normal\n"},
        TBashCase{"BackspaceWithBashTextDeletes", u"ls", true, Keys({TKey::Backspace}), u"l", TInputMode::Bash, ""},
        TBashCase{"CtrlUOnAnEmptyBashBoxEndsIt", u"", true, Keys({TKey::CtrlU}), u"", TInputMode::Normal,
                  "mode normal\n"},
        TBashCase{"CtrlUKillsBashTextFirstThenEndsBashMode", u"ls -la", true, Keys({TKey::CtrlU, TKey::CtrlU}), u"",
                  TInputMode::Normal, "mode normal\n"},
        TBashCase{"EscapeOnAnEmptyBashBoxEndsIt", u"", true, Keys({TKey::Escape}), u"", TInputMode::Normal,
                  "mode normal\n"},
        TBashCase{"EnterRunsTheLineInAShell", u"ls", true, Keys({TKey::Enter}), u"", TInputMode::Normal,
                  "submitted \"ls\" mode=bash\nmode normal\n"},
        TBashCase{"TheEffortCommandIsAShellLineInBashMode", u"", true, Seq({Typed(u"/effort high"), Keys({TKey::Enter})}),
                  u"", TInputMode::Normal, "submitted \"/effort high\" mode=bash\nmode normal\n"}),
    [](const testing::TestParamInfo<TBashCase>& test) { return std::string(test.param.Name); });

TEST(ShortcutsHelp, AQuestionMarkOnAnEmptyBoxOpensItAndIsNotTyped) {
    TDriver driver;
    driver.Type(u"?");
    EXPECT_TRUE(driver.State().Help);
    EXPECT_EQ(driver.Prompt().Text, u"");

    driver.Press(TKey::Escape);
    EXPECT_FALSE(driver.State().Help);
    driver.Type(u"a?");
    EXPECT_EQ(driver.Prompt().Text, u"a?");
    EXPECT_FALSE(driver.State().Help);
}

// --- the effort command and its question ---

TEST(EffortCommand, TheHeaderNamesALevelOnlyOnceOneOtherThanTheDefaultIsInForce) {
    TSetup saved;
    saved.Effort = u"high";
    EXPECT_TRUE(TDriver(saved).Screen().TrimmedRows()[2].starts_with(u"\u259D\u259C\u2588\u2588\u2588\u2588\u2588\u2588\u2580  Opus 5.5 with high effort"));

    TDriver fresh;
    EXPECT_EQ(fresh.Screen().TrimmedRows()[2].substr(11), u"Opus 5.5 \u00B7 API Usage Billing");
    fresh.Type(u"/effort medium").Press(Enter);
    EXPECT_EQ(fresh.Screen().TrimmedRows()[2].substr(11), u"Opus 5.5 with medium effort \u00B7 API Usage Billing");
}

TEST(EffortCommand, SetsTheLevelAtOnceWithoutTheQuestion) {
    TDriver driver;
    driver.Type(u"/effort low").Press(Enter);

    EXPECT_EQ(driver.Outcomes(), "effort low\n");
    EXPECT_EQ(driver.State().Effort, u"low");
    EXPECT_EQ(driver.Prompt().Text, u"");
}

TEST(EffortQuestion, ComesUpAfterItsDelayAndKeysBeforeItGoToTheBox) {
    TSetup setup;
    setup.Question = true;
    setup.QuestionDelayMs = 200;
    TDriver driver(setup);
    driver.Type(u"/effort low").Press(Enter);
    const std::uint64_t enteredAt = driver.Now();

    driver.Type(u"ab"); // 20 ms later: still the box
    driver.Wait(enteredAt + 199 - driver.Now());
    EXPECT_EQ(driver.Prompt().View, TView::Prompt);
    EXPECT_EQ(driver.Prompt().Text, u"ab");
    EXPECT_TRUE(driver.All<TQuestionEvent>().empty());

    driver.Wait(1);
    EXPECT_EQ(driver.Prompt().View, TView::Question);
    EXPECT_EQ(driver.All<TQuestionEvent>(), (std::vector<TQuestionEvent>{{u"Change effort level?", u"low"}}));
    EXPECT_EQ(driver.State().Focus, 0u) << "the focus rests on Yes";
    EXPECT_EQ(driver.State().Effort, u"medium") << "nothing changes before the answer";
    // The question takes the keys: the typed text waits in the box underneath.
    driver.Type(u"xyz");
    EXPECT_EQ(driver.Prompt().Text, u"ab");
}

struct TAnswerCase {
    const char* Name;
    TKeys Keys;
    std::u16string Level;
    std::string Answer;
};

void PrintTo(const TAnswerCase& c, std::ostream* os) {
    *os << c.Name;
}

class EffortAnswer : public testing::TestWithParam<TAnswerCase> {};

TEST_P(EffortAnswer, SetsOrKeepsTheLevel) {
    TSetup setup;
    setup.Question = true;
    TDriver driver(setup);
    driver.Type(u"/effort xhigh").Press(Enter).Wait(250);
    ASSERT_EQ(driver.Prompt().View, TView::Question);

    driver.Press(GetParam().Keys);

    EXPECT_EQ(driver.Prompt().View, TView::Prompt);
    EXPECT_EQ(driver.State().Effort, GetParam().Level);
    EXPECT_NE(driver.Outcomes().find(GetParam().Answer), std::string::npos) << driver.Outcomes();
    EXPECT_EQ(driver.Harms(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EffortAnswer,
    testing::Values(TAnswerCase{"EnterConfirms", {Enter}, u"xhigh", "answered yes\nview prompt\neffort xhigh\n"},
                    TAnswerCase{"OneConfirms", Typed(u"1"), u"xhigh", "answered yes\n"},
                    TAnswerCase{"EscapeKeepsTheLevel", Keys({TKey::Escape}), u"medium", "answered no\n"},
                    TAnswerCase{"DownThenEnterKeepsTheLevel", Keys({TKey::Down, TKey::Enter}), u"medium",
                                "answered no\n"},
                    TAnswerCase{"TwoKeepsTheLevel", Typed(u"2"), u"medium", "answered no\n"}),
    [](const testing::TestParamInfo<TAnswerCase>& test) { return std::string(test.param.Name); });

TEST(EffortQuestion, IsNotAskedWhenTheLevelStaysTheSame) {
    TSetup setup;
    setup.Question = true;
    setup.Effort = u"high";
    TDriver driver(setup);
    driver.Type(u"/effort high").Press(Enter).Wait(1000);

    EXPECT_EQ(driver.Outcomes(), "effort high\n");
}

TEST(EffortQuestion, IsNotAskedDuringATurnWhereTheLevelChangesAtOnce) {
    TSetup setup;
    setup.Question = true;
    setup.Busy = true;
    TDriver driver(setup);
    driver.Type(u"/effort low").Press(Enter).Wait(1000);

    EXPECT_EQ(driver.Outcomes(), "effort low\n");
    EXPECT_TRUE(driver.State().Busy);
    EXPECT_EQ(driver.Harms(), "");
}

// --- what takes the box's place, and Enter as a harm there ---

struct TDialogCase {
    const char* Name;
    TView Open;
    TKeys Keys;
    std::string Outcomes;
    TView ViewAfter;
};

void PrintTo(const TDialogCase& c, std::ostream* os) {
    *os << c.Name;
}

class Dialogs : public testing::TestWithParam<TDialogCase> {};

TEST_P(Dialogs, TakeTheKeysInsteadOfTheBox) {
    const TDialogCase& c = GetParam();
    TSetup setup;
    setup.Open = c.Open;
    setup.History = {u"first prompt alpha", u"second prompt beta"};
    TDriver driver(setup);
    ASSERT_EQ(driver.Prompt().View, c.Open);

    driver.Press(c.Keys);

    EXPECT_EQ(driver.Outcomes(), c.Outcomes);
    EXPECT_EQ(driver.Prompt().View, c.ViewAfter);
    EXPECT_EQ(driver.Prompt().Text, u"") << "the box got none of the keys";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Dialogs,
    testing::Values(
        TDialogCase{"PermissionEnterApproves", TView::Permission, {Enter},
                    "view prompt\napproved \"Yes\"\n", TView::Prompt},
        TDialogCase{"PermissionTheEffortCommandTypedAndEnteredApproves", TView::Permission,
                    Seq({Typed(u"/effort high"), {Enter}}), "view prompt\napproved \"Yes\"\n", TView::Prompt},
        TDialogCase{"PermissionTwoApprovesForGood", TView::Permission, Typed(u"2"),
                    "view prompt\napproved \"Yes, and always allow access to /tmp from this project\"\n",
                    TView::Prompt},
        TDialogCase{"PermissionFourSaysNo", TView::Permission, Typed(u"4"), "view prompt\ndeclined \"No\"\n",
                    TView::Prompt},
        TDialogCase{"PermissionDownToNoThenEnterSaysNo", TView::Permission,
                    Keys({TKey::Down, TKey::Down, TKey::Down, TKey::Down, TKey::Enter}),
                    "view prompt\ndeclined \"No\"\n", TView::Prompt},
        TDialogCase{"PermissionEscapeCancels", TView::Permission, Keys({TKey::Escape}),
                    "declined \"esc\"\nview prompt\n", TView::Prompt},
        TDialogCase{"ModelPickerEnterSaves", TView::ModelPicker, {Enter},
                    "view prompt\npicker saved model \"Default (recommended), medium effort\"\n", TView::Prompt},
        TDialogCase{"ModelPickerRightRaisesTheEffortItSaves", TView::ModelPicker,
                    Keys({TKey::Down, TKey::Right, TKey::Enter}),
                    "view prompt\npicker saved model \"Opus, high effort\"\neffort high\n", TView::Prompt},
        TDialogCase{"ModelPickerEscapeSavesNothing", TView::ModelPicker, Keys({TKey::Right, TKey::Escape}),
                    "view prompt\n", TView::Prompt},
        TDialogCase{"EffortSliderEnterSaves", TView::EffortPicker, Keys({TKey::Left, TKey::Enter}),
                    "view prompt\npicker saved effort \"low\"\neffort low\n", TView::Prompt},
        TDialogCase{"ConfigEnterTogglesASetting", TView::Config, {Enter},
                    "picker saved config \"Auto-compact off\"\n", TView::Config},
        TDialogCase{"ConfigTypingSearchesAndSavesNothing", TView::Config, Typed(u"effort"), "", TView::Config},
        TDialogCase{"HistorySearchEnterSendsTheMatch", TView::HistorySearch, Seq({Typed(u"alp"), {Enter}}),
                    "view prompt\nsubmitted \"first prompt alpha\"\n", TView::Prompt},
        TDialogCase{"HistorySearchEnterWithoutFilterSendsTheNewest", TView::HistorySearch, {Enter},
                    "view prompt\nsubmitted \"second prompt beta\"\n", TView::Prompt},
        TDialogCase{"HistorySearchEscapeCloses", TView::HistorySearch, Seq({Typed(u"alp"), Keys({TKey::Escape})}),
                    "view prompt\n", TView::Prompt},
        TDialogCase{"RewindEnterChangesNothing", TView::Rewind, {Enter}, "view prompt\n", TView::Prompt}),
    [](const testing::TestParamInfo<TDialogCase>& test) { return std::string(test.param.Name); });

TEST(Dialogs, HistorySearchCanBeSetToOnlyPutTheMatchIntoTheBox) {
    TSetup setup;
    setup.History = {u"first prompt alpha", u"second prompt beta"};
    setup.HistoryEnterSends = false;
    setup.Prompt = u"draft";
    TDriver driver(setup);

    driver.Press(TKey::CtrlR).Type(u"alp").Press(Enter);

    EXPECT_EQ(driver.Harms(), "");
    EXPECT_EQ(driver.Prompt().View, TView::Prompt);
    EXPECT_EQ(driver.Prompt().Text, u"first prompt alpha");
    EXPECT_EQ(driver.Prompt().Cursor, (TCursor{0, 18}));
}

TEST(Dialogs, SlashCommandsOpenThePickersAndPanels) {
    for (const auto& [command, view] :
         {std::pair{u"/model", TView::ModelPicker}, std::pair{u"/config", TView::Config},
          std::pair{u"/effort", TView::EffortPicker}}) {
        TDriver driver;
        driver.Type(command).Press(Enter);
        EXPECT_EQ(driver.Prompt().View, view) << base::Utf16ToUtf8(command);
        EXPECT_EQ(driver.Harms(), "");
    }
    TDriver search;
    search.Press(TKey::CtrlR);
    EXPECT_EQ(search.Prompt().View, TView::HistorySearch);
}

// --- vim ---

struct TVimCase {
    const char* Name;
    std::u16string Text;
    TCursor Cursor;
    TVimMode Start;
    TKeys Keys;
    std::u16string ExpectedText;
    TCursor ExpectedCursor;
    TVimMode ExpectedMode;
};

void PrintTo(const TVimCase& c, std::ostream* os) {
    *os << c.Name;
}

class VimMode : public testing::TestWithParam<TVimCase> {};

TEST_P(VimMode, TakesLettersAsCommandsInNormalMode) {
    const TVimCase& c = GetParam();
    TSetup setup;
    setup.Prompt = c.Text;
    setup.Cursor = c.Cursor;
    setup.Vim = c.Start;
    TDriver driver(setup);

    driver.Press(c.Keys);

    EXPECT_EQ(driver.Prompt().Text, c.ExpectedText);
    EXPECT_EQ(driver.Prompt().Cursor, c.ExpectedCursor);
    EXPECT_EQ(driver.Prompt().Vim, c.ExpectedMode);
    EXPECT_EQ(driver.Harms(), "");
}

constexpr TVimMode Normal = TVimMode::Normal;
constexpr TVimMode Insert = TVimMode::Insert;

INSTANTIATE_TEST_SUITE_P(
    Keys, VimMode,
    testing::Values(
        TVimCase{"InsertModeTypesText", u"", {0, 0}, Insert, Typed(u"fix"), u"fix", {0, 3}, Insert},
        TVimCase{"EscapeGoesToNormalAndStepsBack", u"fix the parser", {0, 14}, Insert, Keys({TKey::Escape}),
                 u"fix the parser", {0, 13}, Normal},
        TVimCase{"IInsertsAtTheCaret", u"abc", {0, 1}, Normal, Typed(u"iX"), u"aXbc", {0, 2}, Insert},
        TVimCase{"AAppendsAfterTheCaret", u"abc", {0, 1}, Normal, Typed(u"aX"), u"abXc", {0, 3}, Insert},
        TVimCase{"CapitalAAppendsAtTheLineEnd", u"abc", {0, 0}, Normal, Typed(u"AX"), u"abcX", {0, 4}, Insert},
        TVimCase{"OOpensALineBelow", u"abc\ndef", {0, 1}, Normal, Typed(u"oX"), u"abc\nX\ndef", {1, 1}, Insert},
        TVimCase{"CapitalOOpensALineAbove", u"abc", {0, 2}, Normal, Typed(u"OX"), u"X\nabc", {0, 1}, Insert},
        TVimCase{"XDeletesTheCharacterUnderTheCaret", u"abc", {0, 1}, Normal, Typed(u"x"), u"ac", {0, 1}, Normal},
        TVimCase{"XWithACount", u"abcdef", {0, 1}, Normal, Typed(u"3x"), u"aef", {0, 1}, Normal},
        TVimCase{"XAtTheEndStepsBack", u"abc", {0, 2}, Normal, Typed(u"x"), u"ab", {0, 1}, Normal},
        TVimCase{"HAndLMoveWithinTheLine", u"abc\ndef", {0, 1}, Normal, Typed(u"lllhh"), u"abc\ndef", {0, 0}, Normal},
        TVimCase{"ZeroAndDollar", u"abc def", {0, 3}, Normal, Typed(u"$"), u"abc def", {0, 6}, Normal},
        TVimCase{"ZeroGoesToTheLineStart", u"abc def", {0, 5}, Normal, Typed(u"0"), u"abc def", {0, 0}, Normal},
        TVimCase{"WAndBMoveByWords", u"one two three", {0, 0}, Normal, Typed(u"wwb"), u"one two three", {0, 4}, Normal},
        TVimCase{"EGoesToTheWordEnd", u"one two", {0, 0}, Normal, Typed(u"e"), u"one two", {0, 2}, Normal},
        TVimCase{"DdDeletesTheLine", u"abc\ndef\nghi", {1, 1}, Normal, Typed(u"dd"), u"abc\nghi", {1, 0}, Normal},
        TVimCase{"DdOnTheOnlyLineEmptiesIt", u"fix the parser", {0, 13}, Normal, Typed(u"dd"), u"", {0, 0}, Normal},
        TVimCase{"DwDeletesAWord", u"one two", {0, 0}, Normal, Typed(u"dw"), u"two", {0, 0}, Normal},
        TVimCase{"CwChangesAWord", u"one two", {0, 0}, Normal, Typed(u"cwX"), u"X two", {0, 1}, Insert},
        TVimCase{"CapitalDDeletesToTheLineEnd", u"one two", {0, 3}, Normal, Typed(u"D"), u"one", {0, 2}, Normal},
        TVimCase{"RReplacesOneCharacter", u"abc", {0, 1}, Normal, Typed(u"rX"), u"aXc", {0, 1}, Normal},
        TVimCase{"FFindsACharacterAndSemicolonIsNoCommand", u"a-b-c", {0, 0}, Normal, Typed(u"f-;"), u"a-b-c", {0, 1}, Normal},
        TVimCase{"TStopsBeforeTheCharacter", u"abcde", {0, 0}, Normal, Typed(u"td"), u"abcde", {0, 2}, Normal},
        TVimCase{"PPutsWhatDdTook", u"abc\ndef", {0, 0}, Normal, Typed(u"ddp"), u"def\nabc", {1, 0}, Normal},
        TVimCase{"OtherLettersDoNothing", u"abc", {0, 1}, Normal, Typed(u"zqvmQ!?/"), u"abc", {0, 1}, Normal},
        // What typing "/effort low" does in NORMAL mode, as captured: "/" and "e" move nowhere, "ff"
        // finds an "f", "o" opens a line in INSERT mode and "rt low" is typed there.
        TVimCase{"TheEffortCommandTypedInNormalModeOnAnEmptyBox", u"", {0, 0}, Normal, Typed(u"/effort low"),
                 u"\nrt low", {1, 6}, Insert},
        TVimCase{"TheEffortCommandTypedInNormalModeOnADraft", u"fix the parser", {0, 13}, Normal,
                 Typed(u"/effort low"), u"fix the parser\nrt low", {1, 6}, Insert}),
    [](const testing::TestParamInfo<TVimCase>& test) { return std::string(test.param.Name); });

TEST(VimMode, EnterInNormalModeSendsTheDraft) {
    TSetup setup;
    setup.Prompt = u"fix the parser";
    setup.Vim = TVimMode::Normal;
    TDriver driver(setup);
    driver.Press(Enter);
    EXPECT_EQ(driver.Harms(), "submitted \"fix the parser\"\n");
}

TEST(VimMode, ModeChangesAreRecorded) {
    TSetup setup;
    setup.Vim = TVimMode::Insert;
    TDriver driver(setup);
    driver.Type(u"ab").Press(TKey::Escape).Type(u"a");
    EXPECT_EQ(driver.Outcomes(), "vim normal\nvim insert\n");
}

// --- pasted blocks ---

const std::u16string Thirty = [] {
    std::u16string text;
    for (int i = 1; i <= 30; ++i) {
        text += u"pasted line " + std::u16string(1, static_cast<char16_t>(u'0' + i / 10)) +
                std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u"\n";
    }
    return text;
}();

TEST(PastedBlock, StandsAsOnePlaceholderAndIsSentWhole) {
    TDriver driver;
    driver.Type(u"see ").Paste(Thirty);

    EXPECT_EQ(driver.Prompt().Text, u"see [Pasted text #1 +30 lines]");
    EXPECT_TRUE(driver.State().PasteFooter);
    driver.Press(Enter);
    EXPECT_EQ(driver.All<TSubmittedEvent>(), std::vector<TSubmittedEvent>{{u"see " + Thirty.substr(0, Thirty.size() - 1)}});
}

TEST(PastedBlock, IsOneTokenForTheCaretAndForBackspace) {
    TDriver driver;
    driver.Type(u"a").Paste(Thirty).Type(u"b");
    const std::size_t token = std::u16string(u"[Pasted text #1 +30 lines]").size();

    driver.Press(TKey::Left).Press(TKey::Left);
    EXPECT_EQ(driver.Prompt().Cursor, (TCursor{0, 1})) << "one Left steps over the whole placeholder";
    driver.Press(TKey::Right).Press(TKey::Backspace);
    EXPECT_EQ(driver.Prompt().Text, u"ab");
    EXPECT_EQ(driver.Prompt().Cursor, (TCursor{0, 1}));
    EXPECT_GT(token, 2u);
}

TEST(PastedBlock, KilledAndYankedBeforeASubmitStillExpands) {
    TDriver driver;
    driver.Paste(Thirty).Press(TKey::CtrlU).Press(TKey::CtrlY).Press(Enter);

    EXPECT_EQ(driver.Harms(), FormatRecordLine(TSubmittedEvent{Thirty.substr(0, Thirty.size() - 1)}));
}

TEST(PastedBlock, YankedAfterAnotherSubmitGoesOutAsItsOwnText) {
    TDriver driver;
    driver.Paste(Thirty).Press(TKey::CtrlU).Type(u"/effort high").Press(Enter).Press(TKey::CtrlY).Press(Enter);

    EXPECT_EQ(driver.Harms(), "unexpanded \"[Pasted text #1 +30 lines]\"\n"
                              "submitted \"[Pasted text #1 +30 lines]\"\n");
}

TEST(PastedBlock, PastingTheSameTextAgainExpandsThePlaceholder) {
    const std::u16string text = u"a\nb\nc\nd";
    TDriver driver;
    driver.Paste(text).Paste(text);

    EXPECT_EQ(driver.Prompt().Text, text);
    EXPECT_FALSE(driver.State().PasteFooter);
    EXPECT_EQ(driver.Prompt().Cursor, (TCursor{3, 1}));
}

TEST(PastedBlock, AShortPasteIsPlainText) {
    TDriver driver;
    driver.Paste(u"two\nlines");
    EXPECT_EQ(driver.Prompt().Text, u"two\nlines");
    EXPECT_FALSE(driver.State().PasteFooter);
}

TEST(PastedBlock, NumbersCountOnThroughTheSession) {
    TDriver driver;
    driver.Paste(Thirty).Press(Enter).Paste(u"1\n2\n3\n4");
    EXPECT_EQ(driver.Prompt().Text, u"[Pasted text #2 +3 lines]");
}

// --- a running turn ---

TEST(BusyTurn, ABashLineIsFollowedByATurnOverItsOutput) {
    TSetup setup;
    setup.TurnMs = 2000;
    setup.Bash = true;
    setup.Prompt = u"ls";
    TDriver driver(setup);

    driver.Press(Enter);

    EXPECT_TRUE(driver.State().Busy);
    EXPECT_EQ(driver.Outcomes(), "submitted \"ls\" mode=bash\nmode normal\nturn started\n");
}

TEST(BusyTurn, EscapeInterruptsIt) {
    TSetup setup;
    setup.Busy = true;
    TDriver driver(setup);
    EXPECT_EQ(driver.Cli().Title(), u"\u25D0 Claude Code");

    driver.Press(TKey::Escape);

    EXPECT_EQ(driver.Harms(), "interrupted\n");
    EXPECT_FALSE(driver.State().Busy);
    EXPECT_EQ(driver.Cli().Title(), u"\u2733 Claude Code");
}

TEST(BusyTurn, ASentPromptRunsForTheTurnTimeThenEnds) {
    TSetup setup;
    setup.TurnMs = 5000;
    TDriver driver(setup);
    driver.Type(u"slow question").Press(Enter);
    EXPECT_TRUE(driver.State().Busy);
    driver.Wait(1100);
    EXPECT_EQ(driver.Cli().Title(), u"\u25D1 Claude Code") << "the title's glyph turns once a second";

    driver.Wait(5000);

    EXPECT_FALSE(driver.State().Busy);
    EXPECT_EQ(driver.Outcomes(), "submitted \"slow question\"\nturn started\nturn done\n");
}

// --- Escape twice, Up into the history ---

TEST(EscapeTwice, ClearsTheDraftOnlyWhenQuick) {
    TSetup setup;
    setup.Prompt = u"line one\nline two";
    TDriver slow(setup);
    slow.Press(TKey::Escape).Wait(EscClearMs + 100).Press(TKey::Escape);
    EXPECT_EQ(slow.Harms(), "");
    EXPECT_EQ(slow.Prompt().Cursor, (TCursor{1, 0})) << "the first Escape takes the caret to the line start";

    TDriver quick(setup);
    quick.Press(Keys({TKey::Escape, TKey::Escape}), 150);
    EXPECT_EQ(quick.Harms(), "cleared \"line one\\nline two\"\n");
    EXPECT_EQ(quick.Prompt().Text, u"");
    ASSERT_FALSE(quick.State().History.empty());
    EXPECT_EQ(quick.State().History.back().Text, u"line one\nline two") << "the CLI keeps it in the history";
    EXPECT_TRUE(quick.State().Kills.Empty()) << "and not in the kill ring";
}

TEST(History, UpRecallsEarlierPromptsAndDownComesBackToTheDraft) {
    TSetup setup;
    setup.History = {u"first", u"second"};
    setup.Prompt = u"draft";
    TDriver driver(setup);

    driver.Press(TKey::Up);
    EXPECT_EQ(driver.Prompt().Text, u"second");
    driver.Press(TKey::Up);
    EXPECT_EQ(driver.Prompt().Text, u"first");
    driver.Press(Keys({TKey::Down, TKey::Down}));
    EXPECT_EQ(driver.Prompt().Text, u"draft");
}

// --- a plain shell ---

struct TShellCase {
    const char* Name;
    TKeys Keys;
    std::u16string ExpectedLine;
    std::vector<TRanEvent> Ran;
};

void PrintTo(const TShellCase& c, std::ostream* os) {
    *os << c.Name;
}

class PlainShell : public testing::TestWithParam<TShellCase> {};

TEST_P(PlainShell, RunsALineOnEnter) {
    TSetup setup;
    setup.Shell = true;
    TModel model(setup);
    std::vector<TRanEvent> ran;
    std::uint64_t now = 0;
    for (const TKeyEvent& key : GetParam().Keys) {
        for (const TRecordEvent& event : model.Apply(key, now += 10)) {
            if (const auto* r = std::get_if<TRanEvent>(&event)) {
                ran.push_back(*r);
            }
        }
    }
    EXPECT_EQ(model.PromptState().Text, GetParam().ExpectedLine);
    EXPECT_EQ(model.PromptState().View, TView::Shell);
    EXPECT_EQ(ran, GetParam().Ran);
    EXPECT_EQ(model.Cli(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PlainShell,
    testing::Values(TShellCase{"TypingEdits", Typed(u"dir"), u"dir", {}},
                    TShellCase{"EnterRunsTheLine", Seq({Typed(u"/effort high"), {Enter}}), u"", {{u"/effort high"}}},
                    TShellCase{"EnterOnAnEmptyLineRunsNothing", {Enter}, u"", {}},
                    TShellCase{"ClaudeCodeChordsDoNothing", Seq({Typed(u"x"), Keys({TKey::CtrlS, TKey::CtrlU, TKey::CtrlY})}),
                               u"x", {}},
                    TShellCase{"EscapeClearsTheLine", Seq({Typed(u"dir"), Keys({TKey::Escape, TKey::Enter})}), u"", {}}),
    [](const testing::TestParamInfo<TShellCase>& test) { return std::string(test.param.Name); });

} // namespace
} // namespace termsim::test
