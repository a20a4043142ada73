#include "tools/termsim/Termsim.Prompt.h"

#include "tests/tools/termsim/Termsim.Keys.h"
#include "tests/tools/termsim/Termsim.Printers.h"

#include <gtest/gtest.h>

namespace termsim::test {
namespace {

using TKind = TPromptOutcome::TKind;

const TKeyEvent CtrlE{TKey::CtrlE, 0};
const TKeyEvent CtrlU{TKey::CtrlU, 0};
const TKeyEvent CtrlY{TKey::CtrlY, 0};
const TKeyEvent Right{TKey::Right, 0};
const TKeyEvent Backspace{TKey::Backspace, 0};
const TKeyEvent Enter{TKey::Enter, 0};
const TKeyEvent ShiftEnter{TKey::ShiftEnter, 0};

// Every outcome other than None, in order.
std::vector<TPromptOutcome> Play(TPrompt& prompt, const TKeys& keys) {
    std::vector<TPromptOutcome> outcomes;
    for (const TKeyEvent& key : keys) {
        TPromptOutcome outcome = prompt.Apply(key);
        if (outcome.Kind != TKind::None) {
            outcomes.push_back(std::move(outcome));
        }
    }
    return outcomes;
}

struct TEditCase {
    const char* Name;
    std::u16string Text;
    TCursor Cursor;
    std::u16string Kill;
    TKeys Keys;
    std::u16string ExpectedText;
    TCursor ExpectedCursor;
    std::u16string ExpectedKill;
};

void PrintTo(const TEditCase& c, std::ostream* os) {
    *os << c.Name;
}

class PromptEditing : public testing::TestWithParam<TEditCase> {};

TEST_P(PromptEditing, LeavesTextCursorAndKillBuffer) {
    const TEditCase& c = GetParam();
    TPrompt prompt(c.Text, c.Cursor);
    prompt.SeedKillBuffer(c.Kill);

    EXPECT_TRUE(Play(prompt, c.Keys).empty());

    EXPECT_EQ(prompt.Text(), c.ExpectedText);
    EXPECT_EQ(prompt.Cursor(), c.ExpectedCursor);
    EXPECT_EQ(prompt.KillBuffer(), c.ExpectedKill);
}

const std::u16string Smile = u"\U0001F600";

INSTANTIATE_TEST_SUITE_P(
    Keys, PromptEditing,
    testing::Values(
        TEditCase{"TypingInsertsAtTheCursor", u"abcd", {0, 2}, u"", Typed(u"XY"), u"abXYcd", {0, 4}, u""},
        TEditCase{"TypingOnALaterLine", u"ab\ncd", {1, 1}, u"", Typed(u"X"), u"ab\ncXd", {1, 2}, u""},
        TEditCase{
            "ControlCharactersAreNotTyped", u"ab", {0, 2}, u"", Typed(u"\r\n\x05\x7F"), u"ab", {0, 2}, u""},
        TEditCase{"ShiftEnterBreaksTheLine", u"abcd", {0, 2}, u"", {ShiftEnter}, u"ab\ncd", {1, 0}, u""},
        TEditCase{"CtrlEGoesToTheEndOfTheCurrentLineOnly",
                  u"one\ntwo",
                  {0, 1},
                  u"",
                  {CtrlE},
                  u"one\ntwo",
                  {0, 3},
                  u""},
        TEditCase{"RightMovesOneCharacter", u"abc", {0, 1}, u"", {Right}, u"abc", {0, 2}, u""},
        TEditCase{
            "RightAtTheEndOfALineGoesToTheNextLine", u"ab\ncd", {0, 2}, u"", {Right}, u"ab\ncd", {1, 0}, u""},
        TEditCase{"RightAtTheVeryEndStays", u"ab\ncd", {1, 2}, u"", {Right}, u"ab\ncd", {1, 2}, u""},
        TEditCase{"RightStepsOverASurrogatePair",
                  u"a" + Smile + u"b",
                  {0, 1},
                  u"",
                  {Right},
                  u"a" + Smile + u"b",
                  {0, 3},
                  u""},
        TEditCase{"CtrlUDeletesFromLineStartToCursor",
                  u"hello world",
                  {0, 5},
                  u"old",
                  {CtrlU},
                  u" world",
                  {0, 0},
                  u"hello"},
        TEditCase{
            "CtrlUKeepsTheOtherLines", u"ab\ncdef\ngh", {1, 2}, u"", {CtrlU}, u"ab\nef\ngh", {1, 0}, u"cd"},
        TEditCase{"CtrlUAtColumnZeroJoinsWithThePreviousLine",
                  u"ab\ncd",
                  {1, 0},
                  u"old",
                  {CtrlU},
                  u"abcd",
                  {0, 2},
                  u"\n"},
        TEditCase{"ConsecutiveCtrlUCollectInTextOrder",
                  u"ab\ncd\nef",
                  {2, 1},
                  u"old",
                  Repeat(TKey::CtrlU, 5),
                  u"f",
                  {0, 0},
                  u"ab\ncd\ne"},
        TEditCase{"CtrlUThatDeletesNothingKeepsAStaleBuffer",
                  u"abc",
                  {0, 0},
                  u"old",
                  {CtrlU},
                  u"abc",
                  {0, 0},
                  u"old"},
        TEditCase{"CtrlUAfterAnotherKeyStartsAfresh",
                  u"abc",
                  {0, 3},
                  u"",
                  Seq({{CtrlU}, Typed(u"de"), {CtrlU}}),
                  u"",
                  {0, 0},
                  u"de"},
        TEditCase{"CtrlUAfterCursorMotionStartsAfresh",
                  u"ab\ncd",
                  {1, 1},
                  u"",
                  {CtrlU, Right, CtrlU},
                  u"ab\n",
                  {1, 0},
                  u"d"},
        TEditCase{"CtrlYPastesTheKillBufferAtTheCursor",
                  u"ad",
                  {0, 1},
                  u"b\nc",
                  {CtrlY},
                  u"ab\ncd",
                  {1, 1},
                  u"b\nc"},
        TEditCase{"CtrlYKeepsTheKillBuffer", u"", {0, 0}, u"ab", {CtrlY, CtrlY}, u"abab", {0, 4}, u"ab"},
        TEditCase{"CtrlYWithAnEmptyBufferChangesNothing", u"ab", {0, 1}, u"", {CtrlY}, u"ab", {0, 1}, u""},
        TEditCase{"CutAndPasteRestoresAMultiLineText",
                  u"ab\ncd",
                  {1, 2},
                  u"",
                  {CtrlU, CtrlU, CtrlU, CtrlY},
                  u"ab\ncd",
                  {1, 2},
                  u"ab\ncd"},
        TEditCase{"BackspaceDeletesTheCharacterBeforeTheCursor",
                  u"abc",
                  {0, 2},
                  u"",
                  {Backspace},
                  u"ac",
                  {0, 1},
                  u""},
        TEditCase{
            "BackspaceAtColumnZeroJoinsTheLines", u"ab\ncd", {1, 0}, u"", {Backspace}, u"abcd", {0, 2}, u""},
        TEditCase{"BackspaceAtTheVeryStartDoesNothing", u"ab", {0, 0}, u"", {Backspace}, u"ab", {0, 0}, u""},
        TEditCase{
            "BackspaceRemovesASurrogatePairWhole", u"a" + Smile, {0, 3}, u"", {Backspace}, u"a", {0, 1}, u""},
        TEditCase{"EmptyPromptIgnoresMotionAndDeletion",
                  u"",
                  {0, 0},
                  u"",
                  {CtrlE, Right, CtrlU, Backspace},
                  u"",
                  {0, 0},
                  u""}),
    [](const testing::TestParamInfo<TEditCase>& test) { return std::string(test.param.Name); });

TEST(PromptConstruction, ClampsTheCursorIntoTheText) {
    const TPrompt prompt(u"ab\ncd", {5, 9});
    EXPECT_EQ(prompt.Cursor(), (TCursor{1, 2}));
}

TEST(PromptConstruction, EndOfNamesTheLastLineAndItsLength) {
    EXPECT_EQ(TPrompt::EndOf(u""), (TCursor{0, 0}));
    EXPECT_EQ(TPrompt::EndOf(u"abc"), (TCursor{0, 3}));
    EXPECT_EQ(TPrompt::EndOf(u"ab\ncde\n"), (TCursor{2, 0}));
}

// Enter with the cursor at the end of the text; a text that Enter does not take stays as it was.
struct TEnterCase {
    const char* Name;
    std::u16string Text;
    TPromptOutcome Expected;
    std::u16string TextAfter;
};

void PrintTo(const TEnterCase& c, std::ostream* os) {
    *os << c.Name;
}

class PromptEnter : public testing::TestWithParam<TEnterCase> {};

TEST_P(PromptEnter, GivesTheOutcomeAndLeavesThePrompt) {
    const TEnterCase& c = GetParam();
    TPrompt prompt(c.Text, TPrompt::EndOf(c.Text));

    EXPECT_EQ(prompt.Apply(Enter), c.Expected);

    EXPECT_EQ(prompt.Text(), c.TextAfter);
    EXPECT_EQ(prompt.Cursor(), TPrompt::EndOf(c.TextAfter));
    EXPECT_FALSE(prompt.Asking());
}

TPromptOutcome Submitted(std::u16string text) {
    return {TKind::Submitted, std::move(text)};
}
TPromptOutcome Nothing() {
    return {TKind::None, u""};
}
TPromptOutcome EffortSet(std::u16string level) {
    return {TKind::EffortSet, std::move(level)};
}
TPromptOutcome Failed(std::u16string error) {
    return {TKind::CommandFailed, std::move(error)};
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PromptEnter,
    testing::Values(
        TEnterCase{"EmptyPromptDoesNothing", u"", Nothing(), u""},
        TEnterCase{"BlanksOnlyAreNotSent", u"  \t ", Nothing(), u"  \t "},
        TEnterCase{"EmptyLinesAreNotSent", u"\n \n", Nothing(), u"\n \n"},
        TEnterCase{"Low", u"/effort low", EffortSet(u"low"), u""},
        TEnterCase{"Medium", u"/effort medium", EffortSet(u"medium"), u""},
        TEnterCase{"High", u"/effort high", EffortSet(u"high"), u""},
        TEnterCase{"XHigh", u"/effort xhigh", EffortSet(u"xhigh"), u""},
        TEnterCase{"Max", u"/effort max", EffortSet(u"max"), u""},
        TEnterCase{"Auto", u"/effort auto", EffortSet(u"auto"), u""},
        TEnterCase{"DoubleBlankBetween", u"/effort  high", EffortSet(u"high"), u""},
        TEnterCase{"TrailingBlank", u"/effort  high ", EffortSet(u"high"), u""},
        TEnterCase{"LeadingBlank", u" /effort high", EffortSet(u"high"), u""},
        TEnterCase{"TrailingLineBreak", u"/effort high\n", EffortSet(u"high"), u""},
        TEnterCase{"UnknownLevelFails", u"/effort hi", Failed(u"Unknown option: hi"), u""},
        TEnterCase{"LevelInCapitalsFails", u"/effort High", Failed(u"Unknown option: High"), u""},
        TEnterCase{"TextAfterTheLevelFails", u"/effort highx", Failed(u"Unknown option: highx"), u""},
        TEnterCase{"SecondWordFails", u"/effort high low", Failed(u"Unknown option: high low"), u""},
        TEnterCase{"CommandOnAFurtherLineRunsWithTheRest", u"/effort high\nmore",
                   Failed(u"Unknown option: high more"), u""},
        TEnterCase{"NoLevelFails", u"/effort", Failed(u"Unknown option: "), u""},
        TEnterCase{"OtherCommandFails", u"/model opus", Failed(u"Unknown command: /model"), u""},
        TEnterCase{"GluedCommandFails", u"/efforthigh", Failed(u"Unknown command: /efforthigh"), u""},
        TEnterCase{"TextBeforeTheCommandIsSubmitted", u"x/effort high", Submitted(u"x/effort high"), u""},
        TEnterCase{"OrdinaryTextIsSubmitted", u"fix the bug", Submitted(u"fix the bug"), u""},
        TEnterCase{"TrailingBlanksAndLinesAreNotSent", u"fix it \n\n ", Submitted(u"fix it"), u""},
        TEnterCase{"LeadingBlanksAreSent", u"  fix it", Submitted(u"  fix it"), u""},
        TEnterCase{"MultiLineTextIsSubmittedWhole", u"one\n\nthree", Submitted(u"one\n\nthree"), u""},
        TEnterCase{"BackslashAtTheEndBreaksTheLine", u"one\\", Nothing(), u"one\n"},
        TEnterCase{"BackslashOnALaterLineBreaksIt", u"/effort\nhigh\\", Nothing(), u"/effort\nhigh\n"},
        TEnterCase{"BackslashBeforeABlankIsText", u"one\\ ", Submitted(u"one\\"), u""}),
    [](const testing::TestParamInfo<TEnterCase>& test) { return std::string(test.param.Name); });

TEST(PromptEnter, BackslashAtTheEndBreaksTheLineAtTheCursor) {
    TPrompt prompt(u"ab\ncd\\", {1, 1});

    EXPECT_EQ(prompt.Apply(Enter), TPromptOutcome{});

    EXPECT_EQ(prompt.Text(), u"ab\nc\nd");
    EXPECT_EQ(prompt.Cursor(), (TCursor{2, 0}));
}

TEST(PromptEnter, FailedCommandKeepsTheEffortLevel) {
    TPrompt prompt(u"/effort low", {0, 11});
    prompt.Apply(Enter);
    for (char16_t unit : std::u16string(u"/effort fast")) {
        prompt.Apply({TKey::Char, unit});
    }

    EXPECT_EQ(prompt.Apply(Enter), Failed(u"Unknown option: fast"));
    EXPECT_EQ(prompt.EffortLevel(), u"low");
}

TEST(PromptEnter, SetsTheEffortLevelAtOnceWithoutConfirmation) {
    TPrompt prompt(u"/effort max", {0, 11});
    prompt.Apply(Enter);
    EXPECT_EQ(prompt.EffortLevel(), u"max");
}

TEST(PromptConfirmation, AsksFirstAndTakesTheNextEnterAsYes) {
    TPrompt prompt(u"/effort xhigh", {0, 13}, true);

    EXPECT_EQ(prompt.Apply(Enter), (TPromptOutcome{TKind::Question, u"Change effort level?"}));
    EXPECT_TRUE(prompt.Asking());
    EXPECT_EQ(prompt.Text(), u"");
    EXPECT_EQ(prompt.EffortLevel(), u"");

    EXPECT_EQ(prompt.Apply(Enter), EffortSet(u"xhigh"));
    EXPECT_FALSE(prompt.Asking());
    EXPECT_EQ(prompt.EffortLevel(), u"xhigh");
    EXPECT_EQ(prompt.Apply(Enter), TPromptOutcome{});
}

TEST(PromptConfirmation, OpenQuestionSwallowsEveryOtherKey) {
    TPrompt prompt(u"/effort low", {0, 11}, true);
    prompt.SeedKillBuffer(u"old");
    prompt.Apply(Enter);

    EXPECT_TRUE(
        Play(prompt, Seq({Typed(u"ab"), {CtrlY, ShiftEnter, CtrlU, Backspace, Right, CtrlE}})).empty());

    EXPECT_TRUE(prompt.Asking());
    EXPECT_EQ(prompt.Text(), u"");
    EXPECT_EQ(prompt.KillBuffer(), u"old");
}

TEST(PromptConfirmation, OrdinaryTextIsSubmittedWithoutAQuestion) {
    TPrompt prompt(u"hello", {0, 5}, true);
    EXPECT_EQ(prompt.Apply(Enter), Submitted(u"hello"));
    EXPECT_FALSE(prompt.Asking());
}

// The whole burst against a half-typed prompt: the command runs, nothing of the user's text is
// submitted, and the text is back as it was with the cursor at its end.
struct TBurstCase {
    const char* Name;
    std::u16string Text;
    TCursor Cursor;
    std::u16string StaleKill;
};

void PrintTo(const TBurstCase& c, std::ostream* os) {
    *os << c.Name;
}

class PromptBurst : public testing::TestWithParam<std::tuple<TBurstCase, bool>> {};

TEST_P(PromptBurst, SetsTheLevelAndGivesTheTextBack) {
    const auto& [c, confirm] = GetParam();
    TPrompt prompt(c.Text, c.Cursor, confirm);
    prompt.SeedKillBuffer(c.StaleKill);

    const std::vector<TPromptOutcome> outcomes = Play(prompt, Burst(u"high"));

    std::vector<TPromptOutcome> expected;
    if (confirm) {
        expected.push_back({TKind::Question, u"Change effort level?"});
    }
    expected.push_back(EffortSet(u"high"));
    EXPECT_EQ(outcomes, expected);
    EXPECT_EQ(prompt.Text(), c.Text);
    EXPECT_EQ(prompt.Cursor(), TPrompt::EndOf(c.Text));
    EXPECT_FALSE(prompt.Asking());
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, PromptBurst,
    testing::Combine(
        testing::Values(
            TBurstCase{"Empty", u"", {0, 0}, u""},
            // The marker is what the Ctrl+U chain starts with, so an old kill buffer never comes back.
            TBurstCase{"EmptyWithStaleKillBuffer", u"", {0, 0}, u"old text"},
            TBurstCase{"SingleLineCursorAtEnd", u"fix the bug", {0, 11}, u""},
            TBurstCase{"SingleLineCursorInMiddle", u"fix the bug", {0, 4}, u"old text"},
            TBurstCase{"SingleLineCursorAtStart", u"fix the bug", {0, 0}, u""},
            TBurstCase{"TextEndingInTheMarkerLetter", u"fix", {0, 3}, u""},
            TBurstCase{"HalfTypedCommand", u"/effort hi", {0, 10}, u""},
            TBurstCase{"BlanksOnly", u"   ", {0, 1}, u""},
            TBurstCase{"TrailingBlanks", u"fix it  ", {0, 8}, u""},
            TBurstCase{"EndingInABackslash", u"C:\\temp\\", {0, 8}, u""},
            TBurstCase{"TwoLinesCursorOnFirst", u"first\nsecond", {0, 2}, u""},
            TBurstCase{"TrailingEmptyLine", u"first\n", {1, 0}, u""},
            TBurstCase{"EmptyLinesBetween", u"a\n\n\nb", {3, 0}, u""},
            TBurstCase{"SixLinesCursorOnFirst", u"l0\nl1\nl2\nl3\nl4\nl5", {0, 1}, u""},
            TBurstCase{"SevenLinesCursorAtEnd", u"l0\nl1\nl2\nl3\nl4\nl5\nl6", {6, 2}, u""},
            TBurstCase{"SevenLinesCursorOnSecond", u"l0\nl1\nl2\nl3\nl4\nl5\nl6", {1, 0}, u""},
            TBurstCase{"EightLinesCursorAtEnd", u"l0\nl1\nl2\nl3\nl4\nl5\nl6\nl7", {7, 2}, u""},
            TBurstCase{"NonAsciiText", u"gr\u00FC\u00DFe " + Smile, {0, 3}, u""}),
        testing::Bool()),
    [](const testing::TestParamInfo<std::tuple<TBurstCase, bool>>& test) {
        return std::string(std::get<0>(test.param).Name) + (std::get<1>(test.param) ? "Confirmed" : "Direct");
    });

// Where the schedule cannot reach: the command lands in front of the remaining text, and Enter
// submits that mix. These pin the reach of six Ctrl+E/Right pairs and sixteen Ctrl+U.
TEST(PromptBurstReach, MoreThanFiveLinesBelowTheCursorAreNotCleared) {
    TPrompt prompt(u"l0\nl1\nl2\nl3\nl4\nl5\nl6", {0, 0});

    const std::vector<TPromptOutcome> outcomes = Play(prompt, Burst(u"high"));

    ASSERT_FALSE(outcomes.empty());
    EXPECT_EQ(outcomes.front(), Failed(u"Unknown option: highl6"));
    EXPECT_EQ(prompt.EffortLevel(), u"");
}

TEST(PromptBurstReach, MoreThanEightFullLinesAreNotCleared) {
    TPrompt prompt(u"l0\nl1\nl2\nl3\nl4\nl5\nl6\nl7\nl8", {8, 2});

    const std::vector<TPromptOutcome> outcomes = Play(prompt, Burst(u"high"));

    ASSERT_FALSE(outcomes.empty());
    EXPECT_EQ(outcomes.front(), Submitted(u"l0/effort high"));
}

TEST(PromptBurstWithoutRestore, LeavesTheCutTextInTheKillBuffer) {
    TPrompt prompt(u"first\nsecond", {0, 5});

    const std::vector<TPromptOutcome> outcomes = Play(prompt, Burst(u"low", 3, false));

    EXPECT_EQ(outcomes, std::vector<TPromptOutcome>{EffortSet(u"low")});
    EXPECT_EQ(prompt.Text(), u"");
    EXPECT_EQ(prompt.KillBuffer(), u"first\nsecond");
}

TEST(PromptBurstConfirmation, OneExtraEnterIsEnoughToAnswer) {
    TPrompt prompt(u"draft", {0, 5}, true);

    Play(prompt, Burst(u"max", 1));

    EXPECT_EQ(prompt.EffortLevel(), u"max");
    EXPECT_EQ(prompt.Text(), u"draft");
}

TEST(PromptBurstConfirmation, WithoutAnExtraEnterTheQuestionSwallowsTheRestore) {
    TPrompt prompt(u"draft", {0, 5}, true);

    Play(prompt, Burst(u"max", 0));

    EXPECT_TRUE(prompt.Asking());
    EXPECT_EQ(prompt.EffortLevel(), u"");
    EXPECT_EQ(prompt.Text(), u"");
    EXPECT_EQ(prompt.KillBuffer(), u"draftx");
}

} // namespace
} // namespace termsim::test
