#include "tests/tools/termsim/Termsim.Printers.h"
#include "tools/termsim/Termsim.RecordReader.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace termsim {
namespace {

class RecordRoundTrip : public testing::TestWithParam<TRecordEvent> {};

TEST_P(RecordRoundTrip, ReadsBackWhatWasWritten) {
    std::string line = FormatRecordLine(GetParam());
    ASSERT_EQ(line.back(), '\n');
    line.pop_back();
    EXPECT_EQ(ParseRecordLine(line), std::optional<TRecordEvent>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Events, RecordRoundTrip,
    testing::Values(
        TRecordEvent{TReadyEvent{0xFFFFFFFFFFFFull, 1}}, TRecordEvent{TReadyEvent{0, 0}},
        TRecordEvent{TKeyEvent{TKey::Char, u'x'}}, TRecordEvent{TKeyEvent{TKey::Char, u' '}},
        TRecordEvent{TKeyEvent{TKey::Char, u'\\'}}, TRecordEvent{TKeyEvent{TKey::Char, u'"'}},
        TRecordEvent{TKeyEvent{TKey::Char, char16_t(0xD83D)}}, TRecordEvent{TKeyEvent{TKey::Char, u'\u2733'}},
        TRecordEvent{TKeyEvent{TKey::CtrlE, 0}}, TRecordEvent{TKeyEvent{TKey::CtrlU, 0}},
        TRecordEvent{TKeyEvent{TKey::CtrlY, 0}}, TRecordEvent{TKeyEvent{TKey::CtrlS, 0}},
        TRecordEvent{TKeyEvent{TKey::CtrlR, 0}}, TRecordEvent{TKeyEvent{TKey::CtrlA, 0}},
        TRecordEvent{TKeyEvent{TKey::CtrlK, 0}}, TRecordEvent{TKeyEvent{TKey::CtrlW, 0}},
        TRecordEvent{TKeyEvent{TKey::CtrlC, 0}}, TRecordEvent{TKeyEvent{TKey::Ctrl, u'G'}},
        TRecordEvent{TKeyEvent{TKey::Right, 0}}, TRecordEvent{TKeyEvent{TKey::Left, 0}},
        TRecordEvent{TKeyEvent{TKey::Up, 0}}, TRecordEvent{TKeyEvent{TKey::Down, 0}},
        TRecordEvent{TKeyEvent{TKey::Home, 0}}, TRecordEvent{TKeyEvent{TKey::End, 0}},
        TRecordEvent{TKeyEvent{TKey::Delete, 0}}, TRecordEvent{TKeyEvent{TKey::Backspace, 0}},
        TRecordEvent{TKeyEvent{TKey::CtrlBackspace, 0}}, TRecordEvent{TKeyEvent{TKey::Enter, 0}},
        TRecordEvent{TKeyEvent{TKey::ShiftEnter, 0}}, TRecordEvent{TKeyEvent{TKey::Escape, 0}},
        TRecordEvent{TKeyEvent{TKey::Tab, 0}}, TRecordEvent{TKeyEvent{TKey::ShiftTab, 0}},
        TRecordEvent{TPromptState{}},
        TRecordEvent{TPromptState{u"a \"b\" \\ c\nd\te\x01 \U0001F600", {1, 12}, u"k\nill"}},
        TRecordEvent{TPromptState{u"cursor=1,2 kill=\"\"", {0, 0}, u" kill="}},
        TRecordEvent{TPromptState{u"ls", {0, 2}, u"", TInputMode::Bash}},
        TRecordEvent{TPromptState{u"", {0, 0}, u"x", TInputMode::Normal, TVimMode::Normal}},
        TRecordEvent{TPromptState{u"", {0, 0}, u"", TInputMode::Normal, TVimMode::Off, u"stash=\" view=shell"}},
        TRecordEvent{TPromptState{u"", {0, 0}, u"", TInputMode::Bash, TVimMode::Insert, u"", TView::EffortPicker}},
        TRecordEvent{TPromptState{u"dir", {0, 3}, u"", TInputMode::Normal, TVimMode::Off, std::nullopt, TView::Shell}},
        TRecordEvent{TSubmittedEvent{u""}}, TRecordEvent{TSubmittedEvent{u"two\nlines"}},
        TRecordEvent{TSubmittedEvent{u"ls", TInputMode::Bash}},
        TRecordEvent{TQuestionEvent{u"Change effort level?"}},
        TRecordEvent{TQuestionEvent{u"Change effort level?", u"xhigh"}}, TRecordEvent{TAnsweredEvent{true}},
        TRecordEvent{TAnsweredEvent{false}}, TRecordEvent{TEffortEvent{u"auto"}},
        TRecordEvent{TFailedEvent{u"Unknown command: /x"}}, TRecordEvent{TFailedEvent{u""}},
        TRecordEvent{TApprovedEvent{u"Yes"}}, TRecordEvent{TDeclinedEvent{u"No"}}, TRecordEvent{TRanEvent{u"dir /s"}},
        TRecordEvent{TPickerSavedEvent{u"model", u"Opus, high effort"}},
        TRecordEvent{TPickerSavedEvent{u"config", u"Auto-compact \"off\""}}, TRecordEvent{TCommandEvent{u"/clear"}},
        TRecordEvent{TUnexpandedEvent{u"[Pasted text #1 +2 lines]"}}, TRecordEvent{TInterruptedEvent{}},
        TRecordEvent{TStashLostEvent{u"old\ndraft"}}, TRecordEvent{TClearedEvent{u"gone"}},
        TRecordEvent{TStashedEvent{u"fix"}}, TRecordEvent{TUnstashedEvent{u"fix"}},
        TRecordEvent{TModeEvent{TInputMode::Bash}}, TRecordEvent{TModeEvent{TInputMode::Normal}},
        TRecordEvent{TVimEvent{TVimMode::Normal}}, TRecordEvent{TVimEvent{TVimMode::Insert}},
        TRecordEvent{TPastedEvent{u"a\nb"}}, TRecordEvent{TViewEvent{TView::Prompt}},
        TRecordEvent{TViewEvent{TView::ModelPicker}}, TRecordEvent{TViewEvent{TView::Rewind}},
        TRecordEvent{TTurnEvent{true}}, TRecordEvent{TTurnEvent{false}}));

class RecordUnreadableLine : public testing::TestWithParam<std::string> {};

TEST_P(RecordUnreadableLine, IsRejected) {
    EXPECT_EQ(ParseRecordLine(GetParam()), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RecordUnreadableLine,
    testing::Values("", "hello", "ready", "ready window=12 pid=3", "ready window=0x pid=3",
                    "ready window=0x1A pid=", "ready window=0x1A pid=3 extra", "key", "key ctrl+Qq",
                    "key char \"ab\"", "key char \"\"", "key char a", "prompt \"abc\"",
                    "prompt \"abc\" cursor=1 kill=\"\"", "prompt \"abc\" cursor=1,x kill=\"\"",
                    "prompt \"abc cursor=0,0 kill=\"\"", "prompt \"a\\qb\" cursor=0,0 kill=\"\"",
                    "submitted \"\\u12\"", "submitted \"a\\\"", "submitted abc", "submitted \"a\" mode=vim",
                    "question", "effort", "effort ", "Effort high", "failed", "failed Unknown", "failed \"a\" b",
                    "prompt \"\" cursor=0,0 kill=\"\" mode=zsh", "prompt \"\" cursor=0,0 kill=\"\" vim=off",
                    "prompt \"\" cursor=0,0 kill=\"\" view=dialog", "prompt \"\" cursor=0,0 kill=\"\" stash=x",
                    "prompt \"\" cursor=0,0 kill=\"\" view=shell mode=bash", "answered maybe", "turn over",
                    "mode vim", "vim off", "view", "view nothing", "picker saved model", "picker saved \"x\"",
                    "stash \"x\"", "stash lost", "interrupted now", "approved", "ran dir", "key ctrl+a",
                    "key ctrl+"));

TEST(RecordParse, ReadsCompleteLinesAndLeavesAPartialOne) {
    const std::string content =
        "ready window=0x10 pid=7\nkey right\nprompt \"\" cursor=0,0 kill=\"\"\nkey ent";
    EXPECT_EQ(ParseRecord(content),
              (std::vector<TRecordEvent>{TReadyEvent{0x10, 7}, TKeyEvent{TKey::Right, 0}, TPromptState{}}));
}

TEST(RecordParse, EmptyContentHasNoEvents) {
    EXPECT_TRUE(ParseRecord("").empty());
}

TEST(RecordParse, AnUnreadableCompleteLineIsAnError) {
    EXPECT_THROW(ParseRecord("key right\nnonsense\n"), std::runtime_error);
}

struct TUnescapeCase {
    std::u16string Escaped;
    std::optional<std::u16string> Text;
};

class RecordUnescape : public testing::TestWithParam<TUnescapeCase> {};

TEST_P(RecordUnescape, DecodesOrRejects) {
    EXPECT_EQ(UnescapeText(GetParam().Escaped), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RecordUnescape,
    testing::Values(TUnescapeCase{u"", u""}, TUnescapeCase{u"l1\\nl2", u"l1\nl2"},
                    TUnescapeCase{u"\\\\n", u"\\n"}, TUnescapeCase{u"\\u2733x", u"\u2733x"},
                    TUnescapeCase{u"\\u00e9", u"\u00E9"}, TUnescapeCase{u"\\", std::nullopt},
                    TUnescapeCase{u"\\u12", std::nullopt}, TUnescapeCase{u"\\u12G4", std::nullopt},
                    TUnescapeCase{u"\\x41", std::nullopt}));

} // namespace
} // namespace termsim
