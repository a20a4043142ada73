#include "tests/tools/termsim/Termsim.Printers.h"
#include "tools/termsim/Termsim.Cli.h"
#include "tools/termsim/Termsim.Record.h"

#include <gtest/gtest.h>

namespace termsim {
namespace {

struct TFormatCase {
    const char* Name;
    TRecordEvent Event;
    std::string Line;
};

void PrintTo(const TFormatCase& c, std::ostream* os) {
    *os << c.Name;
}

class RecordFormat : public testing::TestWithParam<TFormatCase> {};

TEST_P(RecordFormat, WritesOneCompleteLine) {
    EXPECT_EQ(FormatRecordLine(GetParam().Event), GetParam().Line);
}

INSTANTIATE_TEST_SUITE_P(
    Events, RecordFormat,
    testing::Values(
        TFormatCase{"Ready", TReadyEvent{0x1A2B, 4321}, "ready window=0x1A2B pid=4321\n"},
        TFormatCase{"TypedCharacter", TKeyEvent{TKey::Char, u'a'}, "key char \"a\"\n"},
        TFormatCase{"TypedQuote", TKeyEvent{TKey::Char, u'"'}, "key char \"\\\"\"\n"},
        TFormatCase{"CtrlE", TKeyEvent{TKey::CtrlE, 0}, "key ctrl+E\n"},
        TFormatCase{"CtrlS", TKeyEvent{TKey::CtrlS, 0}, "key ctrl+S\n"},
        TFormatCase{"AnotherCtrlLetter", TKeyEvent{TKey::Ctrl, u'G'}, "key ctrl+G\n"},
        TFormatCase{"Right", TKeyEvent{TKey::Right, 0}, "key right\n"},
        TFormatCase{"Backspace", TKeyEvent{TKey::Backspace, 0}, "key backspace\n"},
        TFormatCase{"CtrlBackspace", TKeyEvent{TKey::CtrlBackspace, 0}, "key ctrl+backspace\n"},
        TFormatCase{"Enter", TKeyEvent{TKey::Enter, 0}, "key enter\n"},
        TFormatCase{"ShiftEnter", TKeyEvent{TKey::ShiftEnter, 0}, "key shift+enter\n"},
        TFormatCase{"Escape", TKeyEvent{TKey::Escape, 0}, "key escape\n"},
        TFormatCase{"ShiftTab", TKeyEvent{TKey::ShiftTab, 0}, "key shift+tab\n"},
        TFormatCase{"Prompt", TPromptState{u"ab\ncd", {1, 2}, u"x"}, "prompt \"ab\\ncd\" cursor=1,2 kill=\"x\"\n"},
        TFormatCase{"PromptInUtf8", TPromptState{u"\u2733 \u00FC", {0, 3}, u""},
                    "prompt \"\xE2\x9C\xB3 \xC3\xBC\" cursor=0,3 kill=\"\"\n"},
        TFormatCase{"PromptInEveryOtherState",
                    TPromptState{u"ls", {0, 2}, u"", TInputMode::Bash, TVimMode::Normal, u"draft", TView::Question},
                    "prompt \"ls\" cursor=0,2 kill=\"\" mode=bash vim=normal stash=\"draft\" view=question\n"},
        TFormatCase{"PromptWithAnEmptyStash", TPromptState{u"", {0, 0}, u"", TInputMode::Normal, TVimMode::Insert, u""},
                    "prompt \"\" cursor=0,0 kill=\"\" vim=insert stash=\"\"\n"},
        TFormatCase{"Submitted", TSubmittedEvent{u"say \"hi\"\\"}, "submitted \"say \\\"hi\\\"\\\\\"\n"},
        TFormatCase{"SubmittedToAShell", TSubmittedEvent{u"ls", TInputMode::Bash}, "submitted \"ls\" mode=bash\n"},
        TFormatCase{"Question", TQuestionEvent{u"Change effort level?"}, "question \"Change effort level?\"\n"},
        TFormatCase{"QuestionAboutALevel", TQuestionEvent{u"Change effort level?", u"max"},
                    "question \"Change effort level?\" level=max\n"},
        TFormatCase{"AnsweredYes", TAnsweredEvent{true}, "answered yes\n"},
        TFormatCase{"AnsweredNo", TAnsweredEvent{false}, "answered no\n"},
        TFormatCase{"Effort", TEffortEvent{u"xhigh"}, "effort xhigh\n"},
        TFormatCase{"Failed", TFailedEvent{u"Unknown option: \"hi\""}, "failed \"Unknown option: \\\"hi\\\"\"\n"},
        TFormatCase{"Approved", TApprovedEvent{u"Yes"}, "approved \"Yes\"\n"},
        TFormatCase{"Declined", TDeclinedEvent{u"esc"}, "declined \"esc\"\n"},
        TFormatCase{"Ran", TRanEvent{u"dir"}, "ran \"dir\"\n"},
        TFormatCase{"PickerSaved", TPickerSavedEvent{u"model", u"Opus, high effort"},
                    "picker saved model \"Opus, high effort\"\n"},
        TFormatCase{"Command", TCommandEvent{u"/clear"}, "command \"/clear\"\n"},
        TFormatCase{"Unexpanded", TUnexpandedEvent{u"[Pasted text #1 +2 lines]"},
                    "unexpanded \"[Pasted text #1 +2 lines]\"\n"},
        TFormatCase{"Interrupted", TInterruptedEvent{}, "interrupted\n"},
        TFormatCase{"StashLost", TStashLostEvent{u"old"}, "stash lost \"old\"\n"},
        TFormatCase{"Cleared", TClearedEvent{u"a\nb"}, "cleared \"a\\nb\"\n"},
        TFormatCase{"Stashed", TStashedEvent{u"fix"}, "stashed \"fix\"\n"},
        TFormatCase{"Unstashed", TUnstashedEvent{u"fix"}, "unstashed \"fix\"\n"},
        TFormatCase{"ModeBash", TModeEvent{TInputMode::Bash}, "mode bash\n"},
        TFormatCase{"ModeNormal", TModeEvent{TInputMode::Normal}, "mode normal\n"},
        TFormatCase{"VimNormal", TVimEvent{TVimMode::Normal}, "vim normal\n"},
        TFormatCase{"VimInsert", TVimEvent{TVimMode::Insert}, "vim insert\n"},
        TFormatCase{"Pasted", TPastedEvent{u"[Pasted text #3 +9 lines]"}, "pasted \"[Pasted text #3 +9 lines]\"\n"},
        TFormatCase{"View", TViewEvent{TView::HistorySearch}, "view history\n"},
        TFormatCase{"TurnStarted", TTurnEvent{true}, "turn started\n"},
        TFormatCase{"TurnDone", TTurnEvent{false}, "turn done\n"}),
    [](const testing::TestParamInfo<TFormatCase>& test) { return std::string(test.param.Name); });

// Which events count as harms: everything a burst must never cause, and nothing else.
struct THarmCase {
    const char* Name;
    TRecordEvent Event;
    bool Harm;
};

void PrintTo(const THarmCase& c, std::ostream* os) {
    *os << c.Name;
}

class RecordHarm : public testing::TestWithParam<THarmCase> {};

TEST_P(RecordHarm, IsTold) {
    EXPECT_EQ(IsHarm(GetParam().Event), GetParam().Harm);
}

INSTANTIATE_TEST_SUITE_P(
    Events, RecordHarm,
    testing::Values(THarmCase{"Submitted", TSubmittedEvent{u"x"}, true}, THarmCase{"Approved", TApprovedEvent{u"Yes"}, true},
                    THarmCase{"Ran", TRanEvent{u"dir"}, true}, THarmCase{"PickerSaved", TPickerSavedEvent{u"m", u"c"}, true},
                    THarmCase{"Command", TCommandEvent{u"/clear"}, true},
                    THarmCase{"Unexpanded", TUnexpandedEvent{u"[Pasted text #1 +3 lines]"}, true},
                    THarmCase{"Interrupted", TInterruptedEvent{}, true}, THarmCase{"StashLost", TStashLostEvent{u"x"}, true},
                    THarmCase{"Cleared", TClearedEvent{u"x"}, true}, THarmCase{"Effort", TEffortEvent{u"high"}, false},
                    THarmCase{"Question", TQuestionEvent{u"q"}, false}, THarmCase{"Answered", TAnsweredEvent{true}, false},
                    THarmCase{"Failed", TFailedEvent{u"e"}, false}, THarmCase{"Declined", TDeclinedEvent{u"No"}, false},
                    THarmCase{"Stashed", TStashedEvent{u"x"}, false}, THarmCase{"Unstashed", TUnstashedEvent{u"x"}, false},
                    THarmCase{"Key", TKeyEvent{TKey::Enter, 0}, false}, THarmCase{"Prompt", TPromptState{}, false}),
    [](const testing::TestParamInfo<THarmCase>& test) { return std::string(test.param.Name); });

struct TEscapeCase {
    const char* Name;
    std::u16string Text;
    std::u16string Escaped;
};

void PrintTo(const TEscapeCase& c, std::ostream* os) {
    *os << c.Name;
}

class RecordEscape : public testing::TestWithParam<TEscapeCase> {};

TEST_P(RecordEscape, KeepsEveryLineOnOneLine) {
    EXPECT_EQ(EscapeText(GetParam().Text), GetParam().Escaped);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RecordEscape,
    testing::Values(TEscapeCase{"Plain", u"abc", u"abc"}, TEscapeCase{"Backslash", u"a\\b", u"a\\\\b"},
                    TEscapeCase{"Quote", u"\"", u"\\\""},
                    TEscapeCase{"LineBreaksAndTab", u"a\nb\r\tc", u"a\\nb\\r\\tc"},
                    TEscapeCase{"OtherControlCharacters", u"\x01\x1F\x7F", u"\\u0001\\u001F\\u007F"},
                    TEscapeCase{"SurrogatePairStays", u"\U0001F600", u"\U0001F600"},
                    TEscapeCase{"LoneHighSurrogate", std::u16string(1, char16_t(0xD83D)) + u"a", u"\\uD83Da"},
                    TEscapeCase{"LoneLowSurrogate", std::u16string(1, char16_t(0xDE00)), u"\\uDE00"}),
    [](const testing::TestParamInfo<TEscapeCase>& test) { return std::string(test.param.Name); });

TEST(RecordOfAKey, IsTheKeyThenWhatItLedToThenThePromptAfterIt) {
    TSetup setup;
    setup.Prompt = u"/effort max";
    TCli cli(setup);
    const TKeyEvent enter{TKey::Enter, 0};

    EXPECT_EQ(cli.Apply(enter, 10), (std::vector<TRecordEvent>{enter, TEffortEvent{u"max"}, TPromptState{}}));
    EXPECT_EQ(cli.Apply({TKey::Char, u'a'}, 20),
              (std::vector<TRecordEvent>{TKeyEvent{TKey::Char, u'a'}, TPromptState{u"a", {0, 1}, u""}}));
}

TEST(RecordOfTime, IsWhatCameUpThenThePromptOrNothing) {
    TSetup setup;
    setup.Prompt = u"/effort max";
    setup.Question = true;
    TCli cli(setup);
    cli.Apply({TKey::Enter, 0}, 0);

    EXPECT_TRUE(cli.Advance(100).empty());
    TPromptState asking;
    asking.View = TView::Question;
    EXPECT_EQ(cli.Advance(200), (std::vector<TRecordEvent>{TViewEvent{TView::Question},
                                                           TQuestionEvent{u"Change effort level?", u"max"}, asking}));
}

} // namespace
} // namespace termsim
