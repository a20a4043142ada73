// Editing in the input box: motion, deletion, the kill ring, line breaks. Each case starts from a
// draft and a ring, presses keys, and checks the draft, the caret and the ring.
#include "tests/tools/termsim/Termsim.Driver.h"
#include "tests/tools/termsim/Termsim.Printers.h"

#include <gtest/gtest.h>

namespace termsim::test {
namespace {

struct TEditCase {
    const char* Name;
    std::u16string Text;
    TCursor Cursor;
    std::vector<std::u16string> Kills; // oldest first
    TKeys Keys;
    std::u16string ExpectedText;
    TCursor ExpectedCursor;
    std::vector<std::u16string> ExpectedKills; // newest first
};

void PrintTo(const TEditCase& c, std::ostream* os) {
    *os << c.Name;
}

class BoxEditing : public testing::TestWithParam<TEditCase> {};

TEST_P(BoxEditing, LeavesTextCaretAndKillRing) {
    const TEditCase& c = GetParam();
    TSetup setup;
    setup.Prompt = c.Text;
    setup.Cursor = c.Cursor;
    setup.Kills = c.Kills;
    TDriver driver(setup);

    driver.Press(c.Keys);

    EXPECT_EQ(driver.Prompt().Text, c.ExpectedText);
    EXPECT_EQ(driver.Prompt().Cursor, c.ExpectedCursor);
    const auto& ring = driver.State().Kills.Entries();
    EXPECT_EQ(std::vector<std::u16string>(ring.begin(), ring.end()), c.ExpectedKills);
    EXPECT_EQ(driver.Harms(), "");
}

const std::u16string Smile = u"\U0001F600";

// "1234567890" repeated: a line without blanks, which wraps at 96 columns in a 100-column box.
std::u16string Digits(std::size_t count) {
    std::u16string text;
    for (std::size_t i = 1; i <= count; ++i) {
        text += static_cast<char16_t>(u'0' + i % 10);
    }
    return text;
}
const TKeyEvent CtrlU{TKey::CtrlU, 0};
const TKeyEvent CtrlK{TKey::CtrlK, 0};
const TKeyEvent CtrlY{TKey::CtrlY, 0};

// Twelve kills, each after typing a letter: a new entry every time.
TKeys TwelveKills() {
    TKeys keys;
    for (char16_t letter = u'a'; letter < u'a' + 12; ++letter) {
        keys.push_back({TKey::Char, letter});
        keys.push_back(CtrlU);
    }
    return keys;
}

std::vector<std::u16string> Letters(char16_t from, char16_t to) {
    std::vector<std::u16string> letters;
    for (char16_t letter = from; letter >= to; --letter) {
        letters.emplace_back(1, letter);
    }
    return letters;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BoxEditing,
    testing::Values(
        TEditCase{"TypingInsertsAtTheCaret", u"abcd", {0, 2}, {}, Typed(u"XY"), u"abXYcd", {0, 4}, {}},
        TEditCase{"TypingOnALaterLine", u"ab\ncd", {1, 1}, {}, Typed(u"X"), u"ab\ncXd", {1, 2}, {}},
        TEditCase{"ControlUnitsAreNotTyped", u"ab", {0, 2}, {}, Typed(u"\r\n\x05\x7F"), u"ab", {0, 2}, {}},
        TEditCase{"CtrlEGoesToTheEndOfTheCurrentLineOnly", u"one\ntwo", {0, 1}, {}, Keys({TKey::CtrlE}),
                  u"one\ntwo", {0, 3}, {}},
        TEditCase{"CtrlAAndHomeGoToTheLineStart", u"one\ntwo", {1, 2}, {}, Keys({TKey::CtrlA, TKey::End, TKey::Home}),
                  u"one\ntwo", {1, 0}, {}},
        TEditCase{"RightMovesOneCharacter", u"abc", {0, 1}, {}, Keys({TKey::Right}), u"abc", {0, 2}, {}},
        TEditCase{"RightAtALineEndGoesToTheNextLineStart", u"ab\ncd", {0, 2}, {}, Keys({TKey::Right}), u"ab\ncd",
                  {1, 0}, {}},
        TEditCase{"RightAtTheVeryEndStays", u"ab\ncd", {1, 2}, {}, Keys({TKey::Right}), u"ab\ncd", {1, 2}, {}},
        TEditCase{"RightStepsOverASurrogatePair", u"a" + Smile + u"b", {0, 1}, {}, Keys({TKey::Right}),
                  u"a" + Smile + u"b", {0, 3}, {}},
        TEditCase{"LeftAtALineStartGoesToThePreviousLineEnd", u"ab\ncd", {1, 0}, {}, Keys({TKey::Left}), u"ab\ncd",
                  {0, 2}, {}},
        TEditCase{"UpAndDownAimForTheColumnTheyStartedFrom", u"abcdef\nab\nabcd", {0, 5}, {},
                  Keys({TKey::Down, TKey::Down}), u"abcdef\nab\nabcd", {2, 4}, {}},
        TEditCase{"AnotherMoveForgetsTheColumnUpAndDownAimedFor", u"abcdef\nab\nabcd", {0, 5}, {},
                  Keys({TKey::Down, TKey::Left, TKey::Down}), u"abcdef\nab\nabcd", {2, 1}, {}},
        TEditCase{"CtrlUKillsToTheLineStart", u"hello world", {0, 5}, {u"old"}, {CtrlU}, u" world", {0, 0},
                  {u"hello", u"old"}},
        TEditCase{"CtrlUKeepsTheOtherLines", u"ab\ncdef\ngh", {1, 2}, {}, {CtrlU}, u"ab\nef\ngh", {1, 0}, {u"cd"}},
        TEditCase{"CtrlUAtALineStartKillsTheLineBreakBeforeIt", u"ab\ncd", {1, 0}, {}, {CtrlU}, u"abcd", {0, 2},
                  {u"\n"}},
        TEditCase{"ConsecutiveCtrlUMakeOneEntryInTextOrder", u"ab\ncd\nef", {2, 1}, {u"old"}, Repeat(TKey::CtrlU, 5),
                  u"f", {0, 0}, {u"ab\ncd\ne", u"old"}},
        TEditCase{"AnEmptyKillAddsNothing", u"abc", {0, 0}, {u"old"}, {CtrlU, CtrlU}, u"abc", {0, 0}, {u"old"}},
        TEditCase{"CtrlUAfterTypingStartsANewEntry", u"abc", {0, 3}, {}, Seq({{CtrlU}, Typed(u"de"), {CtrlU}}), u"",
                  {0, 0}, {u"de", u"abc"}},
        TEditCase{"CtrlUAfterCaretMotionStartsANewEntry", u"ab\ncd", {1, 1}, {}, {CtrlU, {TKey::Right, 0}, CtrlU},
                  u"ab\n", {1, 0}, {u"d", u"c"}},
        TEditCase{"CtrlUOnAWrappedLineKillsOnlyItsLastRow", Digits(150), {0, 150}, {}, {CtrlU}, Digits(96), {0, 96},
                  {Digits(150).substr(96)}},
        TEditCase{"CtrlUAtTheStartOfAWrappedRowKillsTheRowBefore", Digits(150), {0, 96}, {}, {CtrlU},
                  Digits(150).substr(96), {0, 0}, {Digits(96)}},
        TEditCase{"CtrlURepeatedKillsAWrappedLineRowByRow", Digits(150), {0, 150}, {}, {CtrlU, CtrlU}, u"", {0, 0},
                  {Digits(150)}},
        TEditCase{"HomeAndCtrlEGoToTheEndsOfTheWholeWrappedLine", Digits(150), {0, 100}, {},
                  Keys({TKey::Home, TKey::Right, TKey::CtrlE}), Digits(150), {0, 150}, {}},
        TEditCase{"CtrlKKillsToTheLineEndAndJoinsAChainBehind", u"one two", {0, 3}, {}, {CtrlU, CtrlK}, u"", {0, 0},
                  {u"one two"}},
        TEditCase{"CtrlKAtALineEndKillsTheLineBreak", u"ab\ncd", {0, 2}, {}, {CtrlK}, u"abcd", {0, 2}, {u"\n"}},
        TEditCase{"CtrlWKillsTheWordBefore", u"fix the parser", {0, 14}, {}, Keys({TKey::CtrlW}), u"fix the ",
                  {0, 8}, {u"parser"}},
        TEditCase{"TheRingKeepsTheNewestTen", u"", {0, 0}, {}, TwelveKills(), u"", {0, 0}, Letters(u'l', u'c')},
        TEditCase{"CtrlYYanksTheNewestEntry", u"ad", {0, 1}, {u"old", u"b\nc"}, {CtrlY}, u"ab\ncd", {1, 1},
                  {u"b\nc", u"old"}},
        TEditCase{"CtrlYKeepsTheEntry", u"", {0, 0}, {u"ab"}, {CtrlY, CtrlY}, u"abab", {0, 4}, {u"ab"}},
        TEditCase{"CtrlYWithAnEmptyRingChangesNothing", u"ab", {0, 1}, {}, {CtrlY}, u"ab", {0, 1}, {}},
        TEditCase{"CutAndYankRestoresAMultiLineText", u"ab\ncd", {1, 2}, {}, {CtrlU, CtrlU, CtrlU, CtrlY}, u"ab\ncd",
                  {1, 2}, {u"ab\ncd"}},
        TEditCase{"BackspaceDeletesOneCharacter", u"abc", {0, 2}, {}, Keys({TKey::Backspace}), u"ac", {0, 1}, {}},
        TEditCase{"BackspaceAtALineStartJoinsTheLines", u"ab\ncd", {1, 0}, {}, Keys({TKey::Backspace}), u"abcd",
                  {0, 2}, {}},
        TEditCase{"BackspaceAtTheVeryStartDoesNothing", u"ab", {0, 0}, {}, Keys({TKey::Backspace}), u"ab", {0, 0},
                  {}},
        TEditCase{"BackspaceTakesASurrogatePairWhole", u"a" + Smile, {0, 3}, {}, Keys({TKey::Backspace}), u"a",
                  {0, 1}, {}},
        TEditCase{"CtrlBackspaceDeletesAWordWithoutKillingIt", u"fix the parser  ", {0, 16}, {},
                  Keys({TKey::CtrlBackspace}), u"fix the ", {0, 8}, {}},
        TEditCase{"CtrlBackspaceAtALineStartDeletesTheLineBreak", u"ab\ncd", {1, 0}, {}, Keys({TKey::CtrlBackspace}),
                  u"abcd", {0, 2}, {}},
        TEditCase{"DeleteTakesTheCharacterAfterTheCaret", u"abc", {0, 1}, {}, Keys({TKey::Delete}), u"ac", {0, 1},
                  {}},
        TEditCase{"ShiftEnterBreaksTheLine", u"abcd", {0, 2}, {}, Keys({TKey::ShiftEnter}), u"ab\ncd", {1, 0}, {}},
        TEditCase{"EnterAfterABackslashMakesItALineBreak", u"one\\", {0, 4}, {}, Keys({TKey::Enter}), u"one\n",
                  {1, 0}, {}},
        TEditCase{"EnterAfterABackslashInTheMiddleBreaksThere", u"ab\\cd", {0, 3}, {}, Keys({TKey::Enter}),
                  u"ab\ncd", {1, 0}, {}},
        TEditCase{"ShiftEnterKeepsABackslashBeforeTheCaret", u"ab\\", {0, 3}, {}, Keys({TKey::ShiftEnter}),
                  u"ab\\\n", {1, 0}, {}},
        TEditCase{"EmptyBoxIgnoresMotionAndDeletion", u"", {0, 0}, {},
                  Keys({TKey::CtrlE, TKey::Right, TKey::Left, TKey::CtrlU, TKey::Backspace, TKey::CtrlBackspace}), u"",
                  {0, 0}, {}}),
    [](const testing::TestParamInfo<TEditCase>& test) { return std::string(test.param.Name); });

TEST(BoxEditing, TheKillRingOutlivesASubmit) {
    TDriver driver;
    driver.Type(u"draft").Press(TKey::CtrlU).Type(u"hello").Press(TKey::Enter).Press(TKey::CtrlY);

    EXPECT_EQ(driver.Outcomes(), "submitted \"hello\"\n");
    EXPECT_EQ(driver.Prompt().Text, u"draft");
}

// Enter with a backslash anywhere but right before the caret sends the text, backslash and all.
struct TSendCase {
    const char* Name;
    std::u16string Text;
    TCursor Cursor;
    std::string Outcome;
};

void PrintTo(const TSendCase& c, std::ostream* os) {
    *os << c.Name;
}

class BoxEnter : public testing::TestWithParam<TSendCase> {};

TEST_P(BoxEnter, SendsRunsOrKeepsTheText) {
    const TSendCase& c = GetParam();
    TSetup setup;
    setup.Prompt = c.Text;
    setup.Cursor = c.Cursor;
    TDriver driver(setup);

    driver.Press(TKey::Enter);

    EXPECT_EQ(driver.Outcomes(), c.Outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BoxEnter,
    testing::Values(
        TSendCase{"EmptyBoxSendsNothing", u"", {0, 0}, ""},
        TSendCase{"BlanksAndLineBreaksOnlySendNothing", u" \n \t", {1, 2}, ""},
        TSendCase{"TextIsSentWithoutTrailingBlanks", u"fix it \n\n ", {2, 1}, "submitted \"fix it\"\n"},
        TSendCase{"LeadingBlanksAreSent", u"  fix it", {0, 8}, "submitted \"  fix it\"\n"},
        TSendCase{"TheCaretNeedNotBeAtTheEnd", u"fix it", {0, 2}, "submitted \"fix it\"\n"},
        TSendCase{"ABackslashNotBeforeTheCaretIsSent", u"ab\\cd", {0, 5}, "submitted \"ab\\\\cd\"\n"},
        TSendCase{"ABackslashAtTheEndWithTheCaretElsewhereIsSent", u"ab\ncd\\", {1, 1}, "submitted \"ab\\ncd\\\\\"\n"},
        TSendCase{"Effort", u"/effort high", {0, 12}, "effort high\n"},
        TSendCase{"EffortAfterABlank", u" /effort  max ", {0, 1}, "effort max\n"},
        TSendCase{"EffortOnSecondLineRunsWithTheRest", u"/effort high\nmore", {1, 4},
                  "failed \"Unknown option: high more. Options: low, medium, high, xhigh, max, auto, ultracode "
                  "[on|off]\"\n"},
        TSendCase{"UnknownLevel", u"/effort bogus", {0, 13},
                  "failed \"Unknown option: bogus. Options: low, medium, high, xhigh, max, auto, ultracode [on|off]\"\n"},
        TSendCase{"LevelInCapitalsIsUnknown", u"/effort High", {0, 12},
                  "failed \"Unknown option: High. Options: low, medium, high, xhigh, max, auto, ultracode [on|off]\"\n"},
        TSendCase{"UnknownCommand", u"/vim", {0, 4}, "failed \"Unknown command: /vim\"\n"},
        TSendCase{"AnotherKnownCommandRuns", u"/clear", {0, 6}, "command \"/clear\"\n"},
        TSendCase{"TextBeforeTheCommandIsSent", u"x/effort high", {0, 13}, "submitted \"x/effort high\"\n"}),
    [](const testing::TestParamInfo<TSendCase>& test) { return std::string(test.param.Name); });

} // namespace
} // namespace termsim::test
