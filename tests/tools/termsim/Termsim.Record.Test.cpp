#include "tests/tools/termsim/Termsim.Printers.h"
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
    testing::Values(TFormatCase{"Ready", TReadyEvent{0x1A2B, 4321}, "ready window=0x1A2B pid=4321\n"},
                    TFormatCase{"TypedCharacter", TKeyEvent{TKey::Char, u'a'}, "key char \"a\"\n"},
                    TFormatCase{"TypedQuote", TKeyEvent{TKey::Char, u'"'}, "key char \"\\\"\"\n"},
                    TFormatCase{"CtrlE", TKeyEvent{TKey::CtrlE, 0}, "key ctrl+E\n"},
                    TFormatCase{"CtrlU", TKeyEvent{TKey::CtrlU, 0}, "key ctrl+U\n"},
                    TFormatCase{"CtrlY", TKeyEvent{TKey::CtrlY, 0}, "key ctrl+Y\n"},
                    TFormatCase{"Right", TKeyEvent{TKey::Right, 0}, "key right\n"},
                    TFormatCase{"Backspace", TKeyEvent{TKey::Backspace, 0}, "key backspace\n"},
                    TFormatCase{"Enter", TKeyEvent{TKey::Enter, 0}, "key enter\n"},
                    TFormatCase{"ShiftEnter", TKeyEvent{TKey::ShiftEnter, 0}, "key shift+enter\n"},
                    TFormatCase{"Prompt", TPromptState{u"ab\ncd", {1, 2}, u"x"},
                                "prompt \"ab\\ncd\" cursor=1,2 kill=\"x\"\n"},
                    TFormatCase{"PromptInUtf8", TPromptState{u"\u2733 \u00FC", {0, 3}, u""},
                                "prompt \"\xE2\x9C\xB3 \xC3\xBC\" cursor=0,3 kill=\"\"\n"},
                    TFormatCase{"Submitted", TSubmittedEvent{u"say \"hi\"\\"},
                                "submitted \"say \\\"hi\\\"\\\\\"\n"},
                    TFormatCase{"Question", TQuestionEvent{u"Change effort level?"},
                                "question \"Change effort level?\"\n"},
                    TFormatCase{"Effort", TEffortEvent{u"xhigh"}, "effort xhigh\n"},
                    TFormatCase{"Failed", TFailedEvent{u"Unknown option: \"hi\""},
                                "failed \"Unknown option: \\\"hi\\\"\"\n"}),
    [](const testing::TestParamInfo<TFormatCase>& test) { return std::string(test.param.Name); });

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

TEST(RecordPressKey, RecordsTheKeyThenThePromptAfterIt) {
    TPrompt prompt(u"ab", {0, 2});
    const std::vector<TRecordEvent> events = PressKey(prompt, {TKey::Char, u'c'});
    EXPECT_EQ(events,
              (std::vector<TRecordEvent>{TKeyEvent{TKey::Char, u'c'}, TPromptState{u"abc", {0, 3}, u""}}));
}

TEST(RecordPressKey, RecordsWhatEnterLedToBetweenKeyAndPrompt) {
    const TKeyEvent enter{TKey::Enter, 0};
    TPrompt submitting(u"hello", {0, 5});
    TPrompt asking(u"/effort max", {0, 11}, true);
    TPrompt failing(u"/model opus", {0, 11});

    EXPECT_EQ(PressKey(failing, enter),
              (std::vector<TRecordEvent>{enter, TFailedEvent{u"Unknown command: /model"}, TPromptState{}}));
    EXPECT_EQ(PressKey(submitting, enter),
              (std::vector<TRecordEvent>{enter, TSubmittedEvent{u"hello"}, TPromptState{}}));
    EXPECT_EQ(PressKey(asking, enter),
              (std::vector<TRecordEvent>{enter, TQuestionEvent{u"Change effort level?"}, TPromptState{}}));
    EXPECT_EQ(PressKey(asking, enter),
              (std::vector<TRecordEvent>{enter, TEffortEvent{u"max"}, TPromptState{}}));
}

TEST(RecordStateOf, CarriesTextCursorAndKillBuffer) {
    TPrompt prompt(u"ab\ncd", {1, 1});
    prompt.SeedKillBuffer(u"old");
    EXPECT_EQ(StateOf(prompt), (TPromptState{u"ab\ncd", {1, 1}, u"old"}));
}

} // namespace
} // namespace termsim
