// The sequencer as a value, step by step over screens drawn the way Claude Code draws them: what it
// sends after each look, and that a key which could submit or answer goes out only right after the
// screen showed it safe.
#include "app/Tarvin.Burst.h"
#include "base/Base.Unicode.h"
#include "tests/app/Tarvin.Screens.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tarvin {
namespace {

using platform::TConsoleScreen;
using platform::TScreenCell;
using platform::TScreenRead;
using platform::TScreenReadStatus;
using namespace test::screens;

constexpr platform::TWindowHandle Window = 0x10010;

// --- a burst driven tick by tick ---

std::string KeyName(const TKeyStroke& Key) {
    switch (Key.Key) {
    case TKey::Text:
        return "text " + base::Utf16ToUtf8(Key.Text);
    case TKey::Enter:
        return "enter";
    case TKey::CtrlE:
        return "ctrl+E";
    case TKey::CtrlS:
        return "ctrl+S";
    case TKey::CtrlU:
        return "ctrl+U";
    case TKey::CtrlY:
        return "ctrl+Y";
    case TKey::Right:
        return "right";
    case TKey::Backspace:
        return "backspace";
    }
    return "?";
}

class TDriver {
public:
    explicit TDriver(TBurstSettings Settings = {}, TEffortLevel Level = elHigh) {
        Settings.IniPath = u"C:\\Tarvin.ini";
        Last = Burst.Start(Level, TBurstTarget{Window, u"ConsoleWindowClass", Title}, Settings, Now);
    }

    // One tick a little later, with the terminal showing Screen.
    TBurstStep Tick(const TScreenRead& Screen, std::uint64_t AfterMs = 25, bool InFront = true) {
        Now += AfterMs;
        TBurstTick facts;
        facts.NowMs = Now;
        facts.TargetInFront = InFront;
        if (Burst.WantsScreen()) {
            facts.Screen = Screen;
        }
        Last = Burst.Tick(facts);
        for (const TKeyBatch& batch : Last.Batches) {
            for (const TKeyStroke& key : batch) {
                if (key.Key == TKey::Enter) {
                    CheckEnterWasSafe(facts);
                }
                Keys.push_back(KeyName(key));
            }
        }
        Lines.insert(Lines.end(), Last.Lines.begin(), Last.Lines.end());
        return Last;
    }
    TBurstStep Tick(const TConsoleScreen& Screen, std::uint64_t AfterMs = 25) { return Tick(Read(Screen), AfterMs); }

    // The keys sent since the last call.
    std::vector<std::string> Sent() { return std::exchange(Keys, {}); }

    TBurst Burst;
    TBurstStep Last;
    std::uint64_t Now = 1000;
    std::vector<std::string> Keys;
    std::vector<std::u16string> Lines;

private:
    // Enter goes out only right after the screen showed exactly the command, or the question with
    // the focus on Yes.
    void CheckEnterWasSafe(const TBurstTick& Facts) {
        ASSERT_TRUE(Facts.Screen.has_value()) << "Enter without a look at the screen";
        ASSERT_FALSE(Facts.Screen->Screens.empty());
        // Of several tabs, the one in front carries the window's title.
        const TConsoleScreen* shown = &Facts.Screen->Screens.front();
        for (const TConsoleScreen& screen : Facts.Screen->Screens) {
            if (screen.Title == Title) {
                shown = &screen;
            }
        }
        const TPromptView view = ReadPromptView(*shown);
        const bool command = view.Kind == skPrompt && view.Rows.size() == 1 &&
                             view.Rows.front() == u"/effort " + std::u16string(EffortWord[Burst.Level()]);
        const bool question = view.Kind == skEffortQuestion && view.FocusOnYes;
        EXPECT_TRUE(command || question) << "Enter sent on a screen that showed neither the command nor the question";
    }
};

const TConsoleScreen Empty = PromptScreen({});
const TConsoleScreen Command = PromptScreen({.Rows = {u"/effort high"}, .Caret = {0, 12}});
const TConsoleScreen PartlyTyped = PromptScreen({.Rows = {u"/effort h"}, .Caret = {0, 9}});
const TConsoleScreen Draft = PromptScreen({.Rows = {u"fix the parser", u"and its tests"}, .Caret = {0, 4}});
const TConsoleScreen Stashed = PromptScreen({.Stashed = true});
const TConsoleScreen StashedCommand = PromptScreen({.Rows = {u"/effort high"}, .Caret = {0, 12}, .Stashed = true});
const TConsoleScreen DraftBack =
    PromptScreen({.Rows = {u"fix the parser", u"and its tests"}, .Caret = {0, 4}, .Effort = u"high"});
const TConsoleScreen EmptyAtHigh = PromptScreen({.Effort = u"high"});

// --- the road of a press ---

TEST(SightedBurst, AnEmptyPromptGetsTheCommandAndOneEnterOnlyAfterTheScreenShowsIt) {
    TDriver d;
    EXPECT_TRUE(d.Last.ReleaseModifiers);

    d.Tick(Empty);
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"text /effort high"});
    d.Tick(PartlyTyped);
    EXPECT_TRUE(d.Sent().empty()) << "the terminal is still drawing the command";
    d.Tick(Command);
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"enter"});
    EXPECT_EQ(d.Lines.back(), u"Typed \"/effort high\" into ConsoleWindowClass (\"" + Title + u"\").");

    // No stash to wait for: the burst waits out the time in which the question could come.
    d.Tick(EmptyAtHigh);
    EXPECT_FALSE(d.Last.Ends());
    d.Tick(EmptyAtHigh, QuestionWindowMs);
    EXPECT_TRUE(d.Last.Ends());
    EXPECT_TRUE(d.Sent().empty());
    EXPECT_EQ(d.Lines.back(), u"Claude Code shows the effort is now high.");
    EXPECT_FALSE(d.Last.Beep);
    EXPECT_EQ(d.Burst.Phase(), spIdle);
}

TEST(SightedBurst, ADraftIsStashedAndComesBackByItselfAfterTheCommand) {
    TDriver d;
    d.Tick(Draft);
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"ctrl+S"});
    d.Tick(Draft);
    EXPECT_TRUE(d.Sent().empty()) << "nothing more until the box is seen empty";
    d.Tick(Stashed);
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"text /effort high"});
    d.Tick(StashedCommand);
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"enter"});
    // The terminal has not taken the Enter yet: the box still shows the command.
    d.Tick(StashedCommand);
    EXPECT_FALSE(d.Last.Ends());
    d.Tick(DraftBack);

    EXPECT_TRUE(d.Last.Ends());
    EXPECT_TRUE(d.Sent().empty()) << "no Ctrl+Y, no Backspace: the stash brought the draft back";
    EXPECT_EQ(d.Lines.back(), u"Claude Code shows the effort is now high.");
}

TEST(SightedBurst, TheQuestionIsAnsweredOnceWithTheFocusOnYesAndTheDraftWaitsForIt) {
    TDriver d;
    d.Tick(Draft);
    d.Tick(Stashed);
    d.Tick(StashedCommand);
    ASSERT_EQ(d.Sent(), (std::vector<std::string>{"ctrl+S", "text /effort high", "enter"}));

    d.Tick(Stashed);
    d.Tick(Question());
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"enter"});
    d.Tick(Question());
    EXPECT_TRUE(d.Sent().empty()) << "the question is answered once";
    d.Tick(DraftBack);
    EXPECT_TRUE(d.Last.Ends());
}

TEST(SightedBurst, AQuestionWithTheFocusOnNoIsLeftToTheUser) {
    TDriver d;
    d.Tick(Empty);
    d.Tick(Command);
    d.Sent();
    d.Tick(Question(false));

    EXPECT_TRUE(d.Sent().empty());
    EXPECT_TRUE(d.Last.Ends());
    EXPECT_TRUE(d.Lines.back().starts_with(u"\"Change effort level?\" is open with the focus away from Yes"));
}

TEST(SightedBurst, ADraftComingBackChangedIsPutInTheLog) {
    TDriver d;
    d.Tick(Draft);
    d.Tick(Stashed);
    d.Tick(StashedCommand);
    d.Tick(PromptScreen({.Rows = {u"fix the parser"}, .Caret = {0, 14}, .Effort = u"high"}));

    EXPECT_TRUE(d.Last.Ends());
    ASSERT_GE(d.Lines.size(), 3u);
    EXPECT_EQ(std::vector<std::u16string>(d.Lines.end() - 3, d.Lines.end()),
              (std::vector<std::u16string>{u"Your draft came back, but not exactly as it was. It read:",
                                           u"    fix the parser", u"    and its tests"}));
}

// --- refusals at the first look ---

struct TLookCase {
    const char* Name;
    TScreenRead Screen;
    std::u16string Message;
    TBurstSettings Settings = {};
};

void PrintTo(const TLookCase& Case, std::ostream* os) {
    *os << Case.Name;
}

class FirstLook : public ::testing::TestWithParam<TLookCase> {};

TEST_P(FirstLook, RefusesBeforeAnyKeyAndSaysWhy) {
    const TLookCase& c = GetParam();
    TDriver d(c.Settings);
    d.Tick(c.Screen);

    EXPECT_TRUE(d.Sent().empty());
    EXPECT_TRUE(d.Last.Ends());
    EXPECT_TRUE(d.Last.Beep);
    ASSERT_EQ(d.Lines.size(), 1u);
    EXPECT_EQ(d.Lines.back(), c.Message);
}

TScreenRead TwoTabs(std::u16string First, std::u16string Second) {
    TScreenRead read = Read(Empty);
    read.Screens.front().Title = std::move(First);
    read.Screens.push_back(Empty);
    read.Screens.back().Title = std::move(Second);
    return read;
}

INSTANTIATE_TEST_SUITE_P(
    Screens, FirstLook,
    ::testing::Values(
        TLookCase{"Unreadable", Unreadable(),
                  u"Tarvin cannot read this terminal's screen (it is not a console window), so it cannot see "
                  u"whether a dialog would take the Enter or a draft would be sent to the model. Nothing was "
                  u"typed. To type blind in such terminals anyway, set BlindWhenUnreadable=1 in [Sending] of "
                  u"C:\\Tarvin.ini."},
        TLookCase{"PermissionDialog", Read(Permission()),
                  u"Nothing was typed: a permission dialog is open, and Enter would approve it."},
        TLookCase{"EffortQuestion", Read(Question()),
                  u"Nothing was typed: the question \"Change effort level?\" is open, and Enter would answer it."},
        TLookCase{"Shell", Read(DialogScreen({u"PS C:\\work> "})),
                  u"Nothing was typed: the window shows no Claude Code prompt."},
        TLookCase{"StashAndDraft",
                  Read(PromptScreen({.Rows = {u"second draft"}, .Caret = {0, 12}, .Stashed = true})),
                  u"The prompt holds a draft while another one waits in Claude Code's stash (Ctrl+S), and putting "
                  u"this one aside would disturb that one. Nothing was typed. Send or clear the draft, then press "
                  u"the hotkey again."},
        TLookCase{"DraftWithClearingOff", Read(Draft),
                  u"The prompt holds a draft, and ClearPromptFirst is off in C:\\Tarvin.ini, so Tarvin may not put "
                  u"it aside. Nothing was typed.",
                  TBurstSettings{.ClearPromptFirst = false}},
        TLookCase{"TabsNoneInFront", TwoTabs(u"pwsh", u"node"),
                  u"The terminal window holds 2 consoles (tabs), and none of them carry the window's title \"" +
                      Title + u"\", so Tarvin cannot tell which one is in front. Nothing was typed."},
        TLookCase{"TabsBothClaude", TwoTabs(Title, Title),
                  u"The terminal window holds 2 consoles (tabs), and 2 of them carry the window's title \"" + Title +
                      u"\", so Tarvin cannot tell which one is in front. Nothing was typed."}),
    [](const ::testing::TestParamInfo<TLookCase>& test) { return std::string(test.param.Name); });

TEST(SightedBurst, OfSeveralTabsTheOneWithTheWindowsTitleIsFollowed) {
    TDriver d;
    TScreenRead tabs = TwoTabs(u"pwsh", Title);
    tabs.Screens.front().Rows = {u"PS C:\\> "};
    d.Tick(tabs);
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"text /effort high"});
    tabs.Screens.back() = Command;
    d.Tick(tabs);
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"enter"});
}

// --- modes and settings ---

TEST(SightedBurst, AnEmptyBashPromptIsLeftForTheCommandAndGivenBackAfterIt) {
    TDriver d;
    d.Tick(PromptScreen({.Bash = true}));
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"ctrl+U"});
    d.Tick(Empty);
    d.Tick(Command);
    EXPECT_EQ(d.Sent(), (std::vector<std::string>{"text /effort high", "enter"}));
    d.Tick(EmptyAtHigh, QuestionWindowMs);
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"text !"});
    d.Tick(PromptScreen({.Bash = true, .Effort = u"high"}));
    EXPECT_TRUE(d.Last.Ends());
}

TEST(SightedBurst, AVimInsertPromptTakesTheCommandAsText) {
    TDriver d;
    d.Tick(PromptScreen({.Insert = true}));
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"text /effort high"});
}

TEST(SightedBurst, WithRestoreOffTheDraftIsCutInRoundsUntilTheBoxIsEmpty) {
    TDriver d(TBurstSettings{.RestorePromptAfter = false});
    d.Tick(Draft);
    EXPECT_EQ(d.Sent(), (std::vector<std::string>{"ctrl+E", "right", "ctrl+E", "right", "ctrl+U", "ctrl+U",
                                                  "ctrl+U", "ctrl+U"}));
    // Longer than the box showed: after the screen had time to settle, one more round.
    const TConsoleScreen rest = PromptScreen({.Rows = {u"line before"}, .Caret = {0, 11}});
    d.Tick(rest);
    EXPECT_TRUE(d.Sent().empty());
    d.Tick(rest, ClearRoundMs);
    EXPECT_EQ(d.Sent(), (std::vector<std::string>{"ctrl+U", "ctrl+U"}));
    d.Tick(Empty);
    EXPECT_EQ(d.Sent(), std::vector<std::string>{"text /effort high"});
    d.Tick(Command);
    d.Tick(EmptyAtHigh, QuestionWindowMs);
    EXPECT_TRUE(d.Last.Ends());
    EXPECT_EQ(d.Lines.back(),
              u"Your draft was discarded (RestorePromptAfter is off in C:\\Tarvin.ini); Ctrl+Y in that terminal "
              u"pastes it back.");
}

// --- when the screen does not follow ---

TEST(SightedBurst, ACommandThatDoesNotAppearWholeIsTakenBackAndTheDraftFetched) {
    TDriver w;
    w.Tick(Draft);
    w.Tick(Stashed);
    w.Sent();
    const TConsoleScreen stuck = PromptScreen({.Rows = {u"/effort h"}, .Caret = {0, 9}, .Stashed = true});
    w.Tick(stuck);
    EXPECT_TRUE(w.Sent().empty()) << "the terminal may still be drawing";
    w.Tick(stuck, ScreenSettleMs);
    EXPECT_EQ(w.Sent(), (std::vector<std::string>{"ctrl+E", "right", "ctrl+U", "ctrl+U"}));
    w.Tick(Stashed);
    EXPECT_EQ(w.Sent(), std::vector<std::string>{"ctrl+S"}) << "Ctrl+S on the empty prompt fetches the stash";
    w.Tick(Draft);
    EXPECT_TRUE(w.Last.Ends());
    EXPECT_EQ(w.Lines.back(), u"Nothing was sent, and your draft is back as it was.");
}

// Claude Code's vim NORMAL mode shows no marker: the letters of the command become vim commands
// ("o" opens a line and the rest is typed there). Nothing is entered, the text is taken back.
TEST(SightedBurst, KeysTakenAsVimCommandsAreTakenBackWithoutEnter) {
    TDriver d;
    d.Tick(Empty);
    d.Sent();
    d.Tick(PromptScreen({.Rows = {u"", u"rt high"}, .Caret = {1, 7}, .Insert = true}));
    EXPECT_EQ(d.Sent(), (std::vector<std::string>{"ctrl+E", "right", "ctrl+E", "right", "ctrl+U", "ctrl+U",
                                                  "ctrl+U", "ctrl+U"}));
    EXPECT_EQ(d.Lines.back(),
              u"The command did not appear whole in the prompt, so Tarvin pressed no Enter and removed what it had "
              u"typed. Claude Code's vim NORMAL mode took the keys as commands: press i there before the hotkey.");
    d.Tick(PromptScreen({.Insert = true}));
    EXPECT_TRUE(d.Last.Ends());
    EXPECT_TRUE(d.Sent().empty());
}

TEST(SightedBurst, WhatTookTheKeysInsteadOfTheBoxIsLeftAlone) {
    TDriver d;
    d.Tick(Draft);
    d.Tick(Stashed);
    d.Sent();
    d.Tick(PromptScreen({.Rows = {u"[Pasted text #1 +29 lines]"}, .Caret = {0, 26}}));
    EXPECT_TRUE(d.Sent().empty());
    EXPECT_TRUE(d.Last.Ends());
    EXPECT_TRUE(d.Lines.back().starts_with(u"The command did not appear in the prompt as typed"));
}

// An earlier stash comes back by itself after any message: the burst waits for it, and says so;
// also when the first look did not see its hint (another message held the row above the box).
TEST(SightedBurst, AStashComingBackUnannouncedEndsTheBurstToo) {
    TDriver d;
    d.Tick(Empty);
    d.Tick(Command);
    EXPECT_EQ(d.Sent(), (std::vector<std::string>{"text /effort high", "enter"}));
    d.Tick(PromptScreen({.Rows = {u"older draft"}, .Caret = {0, 11}, .Effort = u"high"}));
    EXPECT_TRUE(d.Last.Ends());
    EXPECT_TRUE(d.Sent().empty());
    EXPECT_TRUE(d.Lines.back().starts_with(u"The draft you had stashed with Ctrl+S came back"));
}

TEST(SightedBurst, AnEarlierStashComingBackAfterTheCommandEndsTheBurst) {
    TDriver d;
    d.Tick(Stashed);
    d.Tick(StashedCommand);
    EXPECT_EQ(d.Sent(), (std::vector<std::string>{"text /effort high", "enter"}));
    d.Tick(PromptScreen({.Rows = {u"older draft"}, .Caret = {0, 11}, .Effort = u"high"}));
    EXPECT_TRUE(d.Last.Ends());
    EXPECT_EQ(d.Lines.back(), u"The draft you had stashed with Ctrl+S came back into the prompt after the command, "
                              u"as Claude Code does after every message.");
}

TEST(SightedBurst, ADialogOpeningMidBurstStopsItWithoutAnswering) {
    TDriver d;
    d.Tick(Draft);
    d.Tick(Permission());
    EXPECT_TRUE(d.Sent() == std::vector<std::string>{"ctrl+S"});
    EXPECT_TRUE(d.Last.Ends());
    EXPECT_EQ(d.Lines.back(),
              u"Tarvin stopped while putting the draft aside: a permission dialog is open, and Enter would approve "
              u"it. No command was typed. Your draft is in Claude Code's stash: press Ctrl+S on the empty prompt to "
              u"bring it back.");
}

struct TLossCase {
    const char* Name;
    int Ticks; // looks before the focus leaves, on the screens of a stashed burst
    std::u16string Message;
};

void PrintTo(const TLossCase& Case, std::ostream* os) {
    *os << Case.Name;
}

class FocusLoss : public ::testing::TestWithParam<TLossCase> {};

TEST_P(FocusLoss, SaysWhatTheTerminalWasLeftWith) {
    const TLossCase& c = GetParam();
    const std::vector<TConsoleScreen> screens = {Draft, Stashed, StashedCommand, Stashed};
    TDriver d;
    for (int i = 0; i < c.Ticks; ++i) {
        d.Tick(screens[static_cast<std::size_t>(i)]);
    }
    d.Sent();
    d.Tick(Read(Empty), 25, false);

    EXPECT_TRUE(d.Sent().empty());
    EXPECT_TRUE(d.Last.Ends());
    EXPECT_FALSE(d.Last.Beep);
    EXPECT_EQ(d.Lines.back(), c.Message);
}

INSTANTIATE_TEST_SUITE_P(
    States, FocusLoss,
    ::testing::Values(
        TLossCase{"BeforeAnything", 0,
                  u"The focus left the terminal before the command could be typed. Nothing was sent."},
        TLossCase{"DraftStashed", 1,
                  u"The focus left the terminal, so Tarvin stopped. No command was typed. Your draft is in Claude "
                  u"Code's stash: press Ctrl+S on the empty prompt to bring it back."},
        TLossCase{"CommandTyped", 2,
                  u"The focus left the terminal, so Tarvin stopped. \"/effort high\" may stand in the prompt unsent: "
                  u"press Ctrl+U to remove it. Your draft is in Claude Code's stash: press Ctrl+S on the empty "
                  u"prompt to bring it back."},
        TLossCase{"CommandSent", 3,
                  u"The focus left the terminal, so Tarvin stopped. \"/effort high\" was sent; if \"Change effort "
                  u"level?\" is on screen, answer it yourself. Your draft waits in Claude Code's stash and comes "
                  u"back by itself after that, or press Ctrl+S on the empty prompt."}),
    [](const ::testing::TestParamInfo<TLossCase>& test) { return std::string(test.param.Name); });

TEST(SightedBurst, AShortBatchEndsTheBurstAndSaysWhatToCheck) {
    TDriver d;
    d.Tick(Draft);
    d.Tick(Stashed);
    const TBurstStep step = d.Burst.SendFellShort(d.Last.Batches.front(), TSendResult{24, 10, 87});
    EXPECT_TRUE(step.Ends());
    EXPECT_TRUE(step.Beep);
    EXPECT_EQ(step.Lines, std::vector<std::u16string>{
                              u"Windows accepted only 10 of 24 keystrokes (error 87). The command was not typed in "
                              u"full. \"/effort high\" may stand in the prompt unsent: press Ctrl+U to remove it. "
                              u"Your draft is in Claude Code's stash: press Ctrl+S on the empty prompt to bring it "
                              u"back."});
    EXPECT_EQ(d.Burst.Phase(), spIdle);
}

// --- the blind schedule, only when allowed ---

TEST(BlindBurst, RunsOnlyWhereTheScreenCannotBeReadAndTheUserAllowedIt) {
    TDriver d(TBurstSettings{.BlindWhenUnreadable = true});
    d.Tick(Unreadable());
    EXPECT_EQ(d.Burst.Phase(), spClearPrompt);
    EXPECT_FALSE(d.Burst.WantsScreen());

    TDriver sighted(TBurstSettings{.BlindWhenUnreadable = true});
    sighted.Tick(Empty);
    EXPECT_EQ(sighted.Burst.Phase(), spTypeCommand) << "a readable screen is always used";
}

// The clearing schedule as one letter per step: E (Ctrl+E), R (Right), x (the marker), U (Ctrl+U).
std::string Schedule(bool Restore) {
    std::string keys;
    for (std::int32_t i = 0; i < ClearStepCount(Restore); ++i) {
        switch (ClearStepKey(i, Restore)) {
        case TClearKey::CtrlE:
            keys += 'E';
            break;
        case TClearKey::Right:
            keys += 'R';
            break;
        case TClearKey::Marker:
            keys += 'x';
            break;
        case TClearKey::CtrlU:
            keys += 'U';
            break;
        }
    }
    return keys;
}

TEST(BlindBurst, SixMotionPairsThenTheMarkerOnlyWhenRestoringThenSixteenCtrlU) {
    EXPECT_EQ(Schedule(true), "ERERERERERER"
                              "x"
                              "UUUUUUUUUUUUUUUU");
    EXPECT_EQ(Schedule(false), "ERERERERERER"
                               "UUUUUUUUUUUUUUUU");
}

TEST(BurstTexts, ShortfallsNameTheCountsAndTheUnsignedError) {
    EXPECT_EQ(
        ClearShortfallText(TSendResult{4, 2, 5}),
        u"Windows accepted only 2 of 4 keystrokes while clearing the prompt (error 5). Nothing was typed.");
    EXPECT_EQ(
        TypeShortfallText(TSendResult{24, 0, 0xFFFFFFFFu}),
        u"Windows accepted only 0 of 24 keystrokes (error 4294967295). The command was not typed in full.");
    EXPECT_EQ(TypedCommandText(u"/effort low", u"CASCADIA_HOSTING_WINDOW_CLASS", u"\u25D0 Claude"),
              u"Typed \"/effort low\" into CASCADIA_HOSTING_WINDOW_CLASS (\"\u25D0 Claude\").");
}

} // namespace
} // namespace tarvin
