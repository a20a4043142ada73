// The target check and the keystroke sender against a real window in another process: termsim,
// started fresh for each test, with its record read back from disk.
#include "app/Tarvin.Sender.h"
#include "app/Tarvin.Settings.h"
#include "app/Tarvin.Target.h"
#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Platform.h"
#include "tests/tools/termsim/Termsim.Keys.h"
#include "tests/tools/termsim/Termsim.Process.h"
#include "tools/termsim/Termsim.RecordReader.h"

#include "tests/tools/termsim/Termsim.Printers.h"
#include "tools/termsim/Termsim.Commands.h"
#include "tools/termsim/Termsim.Model.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace termsim::test {
namespace {

// The events the model records for the same keys, from the same start: what termsim must have
// written. Keys at one moment: none of these runs waits for the model's clock.
TEvents ExpectedEvents(const TSetup& setup, const TKeys& keys) {
    TModel model(setup, 0);
    TEvents events;
    for (const TKeyEvent& key : keys) {
        for (TRecordEvent& event : model.Apply(key, 0)) {
            events.push_back(std::move(event));
        }
    }
    return events;
}

TSetup PromptAt(std::u16string text, TCursor cursor) {
    TSetup setup;
    setup.Prompt = std::move(text);
    setup.Cursor = cursor;
    return setup;
}

class TermsimEndToEnd : public testing::Test {
protected:
    platform::win32::TWin32Platform Platform;
    tarvin::TSettings Settings;

    tarvin::TTargetInfo CheckTarget(bool requireTitleMarker) {
        tarvin::TTargetInfo info;
        tarvin::CheckForegroundTarget(Platform.Windows, Platform.Integrity, &Settings.FAcceptedClasses,
                                      &Settings.FTitleMarkers, requireTitleMarker, info);
        return info;
    }

    void ExpectDelivered(const tarvin::TSendResult& result, int records) {
        EXPECT_EQ(result.Requested, records);
        EXPECT_EQ(result.Delivered, records);
        EXPECT_EQ(result.ErrorCode, 0u);
    }
};

TEST_F(TermsimEndToEnd, TargetCheckAcceptsAClaudeCodeConsoleAndReadsBothLevels) {
    TTermsim terminal({});
    ASSERT_TRUE(terminal.Start());

    for (const bool requireMarker : {false, true}) {
        const tarvin::TTargetInfo info = CheckTarget(requireMarker);

        EXPECT_EQ(info.Verdict, tarvin::tvOk) << "marker required: " << requireMarker;
        EXPECT_EQ(info.Handle, terminal.WindowValue());
        EXPECT_EQ(info.WindowClass, u"ConsoleWindowClass");
        EXPECT_EQ(info.Title, u"\u2733 Claude Code");
        EXPECT_EQ(info.ProcessID, terminal.ProcessId());
        EXPECT_NE(info.OurLevel, platform::UnknownIntegrityLevel);
        EXPECT_NE(info.TheirLevel, platform::UnknownIntegrityLevel);
        EXPECT_TRUE(tarvin::TargetAccepted(info));
    }
}

TEST_F(TermsimEndToEnd, TargetCheckRefusesAWindowOfAnotherClassInFront) {
    TTermsim console({});
    ASSERT_TRUE(console.Start());
    TTermsim other({L"--class", L"Notepad", L"--title", L"notes.txt"});
    ASSERT_TRUE(other.Start());

    const tarvin::TTargetInfo info = CheckTarget(false);

    EXPECT_EQ(info.Verdict, tarvin::tvWrongClass);
    EXPECT_EQ(info.Handle, other.WindowValue());
    EXPECT_EQ(info.WindowClass, u"Notepad");
    EXPECT_EQ(info.ProcessID, other.ProcessId());
    EXPECT_EQ(info.TheirLevel, platform::UnknownIntegrityLevel);
    EXPECT_EQ(tarvin::VerdictText(info),
              u"Focused window is \"Notepad\" (\"notes.txt\"), which is not in the "
              u"accepted class list. Nothing was typed.");
}

TEST_F(TermsimEndToEnd, TargetCheckRefusesATerminalWithoutTitleMarkerWhenOneIsRequired) {
    TTermsim terminal({L"--class", L"CASCADIA_HOSTING_WINDOW_CLASS", L"--title", L"Windows PowerShell"});
    ASSERT_TRUE(terminal.Start());

    EXPECT_EQ(CheckTarget(false).Verdict, tarvin::tvOk);
    const tarvin::TTargetInfo info = CheckTarget(true);
    EXPECT_EQ(info.Verdict, tarvin::tvWrongTitle);
    EXPECT_EQ(info.Title, u"Windows PowerShell");
}

TEST_F(TermsimEndToEnd, SendTextTypesEveryUnitIntoThePrompt) {
    TTermsim terminal({});
    ASSERT_TRUE(terminal.Start());
    const std::u16string text = u"/effort high \u00FC\U0001F600";

    tarvin::TSendResult result;
    result = tarvin::SendText(Platform.Input, text);

    ExpectDelivered(result, 2 * static_cast<int>(text.size()));
    const TEvents expected = ExpectedEvents({}, Typed(text));
    EXPECT_EQ(RecordText(terminal.WaitForEvents(expected.size())), RecordText(expected));
}

TEST_F(TermsimEndToEnd, TimesStampEveryKeyWithItsArrival) {
    const std::wstring timesPath = NewRecordPath();
    {
        TTermsim terminal({L"--times", timesPath});
        ASSERT_TRUE(terminal.Start());

        ExpectDelivered(tarvin::SendText(Platform.Input, u"ab"), 4);
        ExpectDelivered(tarvin::SendCtrlChord(Platform.Input, platform::VkS), 4);
        terminal.WaitForEvents(ExpectedEvents({}, Seq({Typed(u"ab"), Keys({TKey::CtrlS})})).size());

        std::string times = ReadFileShared(timesPath);
        std::vector<std::string> keys;
        for (std::size_t start = 0, end = times.find('\n'); end != std::string::npos;
             start = end + 1, end = times.find('\n', start)) {
            const std::string line = times.substr(start, end - start);
            const std::size_t blank = line.find(' ');
            ASSERT_NE(blank, std::string::npos) << line;
            EXPECT_GT(std::stoll(line.substr(0, blank)), 0) << line;
            keys.push_back(line.substr(blank + 1));
        }
        EXPECT_EQ(keys, (std::vector<std::string>{"key char \"a\"", "key char \"b\"", "key ctrl+S"}));
    }
    DeleteFileW(timesPath.c_str());
}

TEST_F(TermsimEndToEnd, CtrlChordsRightBackspaceAndEnterEditAndSubmitThePrompt) {
    TTermsim terminal({L"--prompt", L"one\\ntwo", L"--cursor", L"0,1"});
    ASSERT_TRUE(terminal.Start());

    tarvin::TSendResult result;
    result = tarvin::SendCtrlE(Platform.Input);
    ExpectDelivered(result, 4);
    result = tarvin::SendRight(Platform.Input);
    ExpectDelivered(result, 2);
    result = tarvin::SendRight(Platform.Input);
    result = tarvin::SendCtrlU(Platform.Input);
    ExpectDelivered(result, 4);
    result = tarvin::SendCtrlU(Platform.Input);
    result = tarvin::SendBackspace(Platform.Input);
    ExpectDelivered(result, 2);
    result = tarvin::SendCtrlY(Platform.Input);
    ExpectDelivered(result, 4);
    result = tarvin::SendEnter(Platform.Input);
    ExpectDelivered(result, 2);

    const TKeys keys{{TKey::CtrlE, 0}, {TKey::Right, 0},     {TKey::Right, 0}, {TKey::CtrlU, 0},
                     {TKey::CtrlU, 0}, {TKey::Backspace, 0}, {TKey::CtrlY, 0}, {TKey::Enter, 0}};
    const TEvents expected = ExpectedEvents(PromptAt(u"one\ntwo", {0, 1}), keys);
    const TEvents events = terminal.WaitForEvents(expected.size());
    EXPECT_EQ(RecordText(events), RecordText(expected));
    EXPECT_NE(std::find(events.begin(), events.end(), TRecordEvent{TSubmittedEvent{u"on\ntwo"}}),
              events.end());
}

// Text typed into the real window and Enter: the window takes Enter as Claude Code's prompt does.
struct TEnterRun {
    const char* Name;
    std::u16string Typed;
    std::optional<TRecordEvent> Outcome; // none: Enter sends nothing and runs nothing
};

void PrintTo(const TEnterRun& run, std::ostream* os) {
    *os << run.Name;
}

class TermsimEnter : public TermsimEndToEnd, public testing::WithParamInterface<TEnterRun> {};

TEST_P(TermsimEnter, TakesEnterAsClaudeCodeDoes) {
    const TEnterRun& run = GetParam();
    TTermsim terminal({});
    ASSERT_TRUE(terminal.Start());

    tarvin::TSendResult result;
    result = tarvin::SendText(Platform.Input, run.Typed);
    ExpectDelivered(result, 2 * static_cast<int>(run.Typed.size()));
    result = tarvin::SendEnter(Platform.Input);

    const TEvents expected = ExpectedEvents({}, Seq({Typed(run.Typed), {TKeyEvent{TKey::Enter, 0}}}));
    const TEvents events = terminal.WaitForEvents(expected.size());
    EXPECT_EQ(RecordText(events), RecordText(expected));
    ASSERT_GE(events.size(), 2u);
    const TRecordEvent& afterEnter = events[events.size() - 2];
    if (run.Outcome) {
        EXPECT_EQ(afterEnter, *run.Outcome);
    } else {
        EXPECT_TRUE(std::holds_alternative<TKeyEvent>(afterEnter)) << testing::PrintToString(afterEnter);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TermsimEnter,
    testing::Values(
        TEnterRun{"EffortWithExtraBlanks", u"/effort  high ", TRecordEvent{TEffortEvent{u"high"}}},
        TEnterRun{"EffortAfterABlank", u" /effort max", TRecordEvent{TEffortEvent{u"max"}}},
        TEnterRun{"UnknownLevel", u"/effort fast", TRecordEvent{TFailedEvent{UnknownEffortOptionText(u"fast")}}},
        TEnterRun{"UnknownCommand", u"/bogus now", TRecordEvent{TFailedEvent{u"Unknown command: /bogus"}}},
        TEnterRun{"TextWithTrailingBlanks", u"fix it   ", TRecordEvent{TSubmittedEvent{u"fix it"}}},
        TEnterRun{"BlanksOnly", u"   ", std::nullopt},
        TEnterRun{"BackslashBeforeTheCaret", u"two lines\\", std::nullopt},
        TEnterRun{"BangBeginsBashModeAndEnterRunsTheLine", u"!dir", TRecordEvent{TModeEvent{TInputMode::Normal}}}),
    [](const testing::TestParamInfo<TEnterRun>& test) { return std::string(test.param.Name); });

// Sends the burst's keys through the sender, one batch per key as the sequencer does.
void SendKeys(platform::IInput& input, const TKeys& keys) {
    tarvin::TSendResult result;
    for (const TKeyEvent& key : keys) {
        switch (key.Key) {
        case TKey::Char:
            result = tarvin::SendText(input, std::u16string(1, key.Char));
            break;
        case TKey::CtrlE:
            result = tarvin::SendCtrlE(input);
            break;
        case TKey::CtrlU:
            result = tarvin::SendCtrlU(input);
            break;
        case TKey::CtrlY:
            result = tarvin::SendCtrlY(input);
            break;
        case TKey::Right:
            result = tarvin::SendRight(input);
            break;
        case TKey::Backspace:
            result = tarvin::SendBackspace(input);
            break;
        case TKey::Enter:
            result = tarvin::SendEnter(input);
            break;
        default:
            ADD_FAILURE() << "the burst never sends " << testing::PrintToString(key);
            continue;
        }
        EXPECT_EQ(result.Delivered, result.Requested) << "a batch of the burst fell short";
    }
}

// A half-typed prompt as termsim starts with it, and whether it asks before changing the level.
struct TBurstRun {
    const char* Name;
    std::u16string Text;
    TCursor Cursor;
    std::u16string StaleKill;
    bool Confirm;
};

void PrintTo(const TBurstRun& run, std::ostream* os) {
    *os << run.Name;
}

std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::vector<std::wstring> OptionsFor(const TBurstRun& run) {
    std::vector<std::wstring> options{
        L"--prompt", Wide(EscapeText(run.Text)),
        L"--cursor", std::to_wstring(run.Cursor.Line) + L"," + std::to_wstring(run.Cursor.Column),
        L"--kill",   Wide(EscapeText(run.StaleKill))};
    if (run.Confirm) {
        options.push_back(L"--confirm");
    }
    return options;
}

class TermsimBurst : public TermsimEndToEnd, public testing::WithParamInterface<TBurstRun> {};

// The keys of a whole blind burst, sent batch by batch through the sender: the level is set, nothing
// is sent, and the user's text is back. Where the question is asked, the Enter that answers it goes
// out once the record shows it on screen.
TEST_P(TermsimBurst, SetsTheLevelAndGivesTheHalfTypedPromptBack) {
    const TBurstRun& run = GetParam();
    TTermsim terminal(OptionsFor(run));
    ASSERT_TRUE(terminal.Start());
    const TKeys clear = Seq({ClearingSchedule(true), Typed(u"/effort high"), {TKeyEvent{TKey::Enter, 0}}});
    const TKeys rest = Seq({Repeat(TKey::Enter, run.Confirm ? 1 : 3), Keys({TKey::CtrlY, TKey::Backspace})});

    SendKeys(Platform.Input, clear);
    if (run.Confirm) {
        ASSERT_TRUE(WaitUntil([&] {
            const TEvents events = terminal.WaitForEvents(0);
            return std::any_of(events.begin(), events.end(), [](const TRecordEvent& event) {
                return std::holds_alternative<TQuestionEvent>(event);
            });
        })) << "the question did not come up";
    }
    SendKeys(Platform.Input, rest);

    TSetup setup = PromptAt(run.Text, run.Cursor);
    setup.Kills = {run.StaleKill};
    setup.Question = run.Confirm;
    TModel model(setup, 0);
    TEvents expected;
    for (const TKeyEvent& key : clear) {
        const TEvents events = model.Apply(key, 0);
        expected.insert(expected.end(), events.begin(), events.end());
    }
    const TEvents asked = model.Advance(setup.QuestionDelayMs);
    expected.insert(expected.end(), asked.begin(), asked.end());
    for (const TKeyEvent& key : rest) {
        const TEvents events = model.Apply(key, setup.QuestionDelayMs);
        expected.insert(expected.end(), events.begin(), events.end());
    }
    const TEvents events = terminal.WaitForEvents(expected.size());
    EXPECT_EQ(RecordText(events), RecordText(expected));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(std::get<TPromptState>(events.back()).Text, run.Text);
    EXPECT_NE(std::find(events.begin(), events.end(), TRecordEvent{TEffortEvent{u"high"}}), events.end());
    for (const TRecordEvent& event : events) {
        EXPECT_FALSE(IsHarm(event)) << testing::PrintToString(event);
        EXPECT_FALSE(std::holds_alternative<TFailedEvent>(event)) << testing::PrintToString(event);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, TermsimBurst,
    testing::Values(TBurstRun{"MultiLineConfirmed", u"fix the\nflaky test", {0, 3}, u"old", true},
                    TBurstRun{"TrailingBlanksAndABackslash", u"see C:\\temp\\  ", {0, 4}, u"", false},
                    TBurstRun{"EmptyWithStaleKillBuffer", u"", {0, 0}, u"old text", false},
                    TBurstRun{"SingleLineCursorInMiddle", u"fix the bug", {0, 4}, u"", false}),
    [](const testing::TestParamInfo<TBurstRun>& test) { return std::string(test.param.Name); });

} // namespace
} // namespace termsim::test
