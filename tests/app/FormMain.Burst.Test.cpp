// The blind schedule of the main window's bursts, which a user may allow where the terminal's
// screen cannot be read (the simulated console here has none): whole bursts on the simulated
// desktop's virtual clock, read back from the desktop's input journal with their times.
#include "tests/app/FormMain.Journal.h"
#include "tests/app/FormMain.Scene.h"

#include <gtest/gtest.h>

#include <functional>

namespace tarvin::test {
namespace {

using orvel::lvErrors;

const std::u16string TypedIntoConsole =
    u"Typed \"/effort high\" into ConsoleWindowClass (\"\u2733 Claude Code\").";

// The INI file of a user who allowed the blind schedule, with the other keys of Ini.
std::string BlindIni(std::string Ini) {
    constexpr std::string_view sending = "[Sending]\r\n";
    const std::size_t at = Ini.find(sending);
    if (at == std::string::npos) {
        return Ini + std::string(sending) + "BlindWhenUnreadable=1\r\n";
    }
    return Ini.insert(at + sending.size(), "BlindWhenUnreadable=1\r\n");
}

// A running window with the console in front and the hotkeys held.
class Burst : public ::testing::Test {
protected:
    void Begin(const std::string& Ini = "") {
        Scene.WriteIni(BlindIni(Ini));
        Scene.Start();
        Scene.Focus(Scene.Console);
        Scene.Advance(200);
        ASSERT_TRUE(Scene.Form->HotkeysHeld());
    }
    // Presses the chord and remembers where the burst's keys begin.
    void PressAndMark(std::u16string_view Chord = u"Ctrl+Alt+3") {
        PressedAt = Scene.Now();
        FirstBatch = Scene.Sim.Desktop.InputJournal().size();
        ASSERT_TRUE(Scene.Press(Chord));
    }
    std::vector<TSentKeys> Sent() const { return SentSince(Scene.Sim.Desktop, PressedAt, FirstBatch); }
    void ExpectIdle() {
        EXPECT_EQ(Scene.Form->Phase(), spIdle);
        EXPECT_FALSE(Scene.Form->tmrEnter->Enabled());
        EXPECT_FALSE(Scene.Backend.TimerArmed(*Scene.Form->tmrEnter));
    }
    void ExpectEveryBatchWentTo(platform::TWindowHandle Window) {
        const auto& journal = Scene.Sim.Desktop.InputJournal();
        for (std::size_t i = FirstBatch; i < journal.size(); ++i) {
            EXPECT_EQ(journal[i].Foreground, Window)
                << "batch " << i << ": " << BatchName(journal[i].Records);
        }
    }

    TMainWindowScene Scene;
    std::uint64_t PressedAt = 0;
    std::size_t FirstBatch = 0;
};

TEST_F(Burst, DefaultBurstSendsEveryKeyAtItsTimeIntoTheTerminal) {
    Begin();

    PressAndMark();
    EXPECT_EQ(Scene.Form->Phase(), spWaitModifiers);
    EXPECT_EQ(Scene.Form->BurstTarget(), Scene.Console);
    Scene.Advance(3000);

    TExpectedKeys expected;
    expected.At(0, "release").Wait(25).Clearing(60, true).After(60, "text /effort high").After(0, "enter");
    expected.After(250, "enter")
        .After(250, "enter")
        .After(250, "enter")
        .After(60, "ctrl+Y")
        .After(60, "backspace");
    EXPECT_EQ(Sent(), expected.Keys());
    EXPECT_EQ(expected.Last(), 2695) << "a default burst lasts about 2.7 seconds";
    ExpectEveryBatchWentTo(Scene.Console);
    ExpectIdle();
    EXPECT_EQ(Scene.LastLogLine(), TypedIntoConsole);
    EXPECT_TRUE(Scene.Sim.Desktop.Beeps().empty());
}

struct TVariant {
    const char* Name;
    std::string Sending;
    std::function<void(TExpectedKeys&)> Expect;
};

void PrintTo(const TVariant& Variant, std::ostream* os) {
    *os << Variant.Name;
}

class BurstVariant : public Burst, public ::testing::WithParamInterface<TVariant> {};

TEST_P(BurstVariant, SendsTheKeysOfItsSettings) {
    Begin("[Sending]\r\n" + GetParam().Sending);

    PressAndMark(u"Ctrl+Alt+5");
    Scene.Advance(4000);

    TExpectedKeys expected;
    expected.At(0, "release").Wait(25);
    GetParam().Expect(expected);
    EXPECT_EQ(Sent(), expected.Keys());
    ExpectEveryBatchWentTo(Scene.Console);
    ExpectIdle();
}

INSTANTIATE_TEST_SUITE_P(
    Settings, BurstVariant,
    ::testing::Values(
        // Nothing is cleared, so nothing is restored, whatever RestorePromptAfter says.
        TVariant{"ClearPromptFirstOff", "ClearPromptFirst=0\r\nRestorePromptAfter=1\r\n",
                 [](TExpectedKeys& e) {
                     e.After(0, "text /effort max").After(0, "enter");
                     e.After(250, "enter").After(250, "enter").After(250, "enter");
                 }},
        TVariant{"RestorePromptAfterOff", "RestorePromptAfter=0\r\n",
                 [](TExpectedKeys& e) {
                     e.Clearing(60, false).After(60, "text /effort max").After(0, "enter");
                     e.After(250, "enter").After(250, "enter").After(250, "enter");
                 }},
        TVariant{"EnterCountOnePressesEnterTwice", "EnterCount=1\r\n",
                 [](TExpectedKeys& e) {
                     e.Clearing(60, true).After(60, "text /effort max").After(0, "enter").After(250, "enter");
                     e.After(60, "ctrl+Y").After(60, "backspace");
                 }},
        TVariant{"OwnDelays", "EnterCount=2\r\nEnterDelayMs=50\r\nClearDelayMs=20\r\n",
                 [](TExpectedKeys& e) {
                     e.Clearing(20, true).After(20, "text /effort max").After(0, "enter");
                     e.After(50, "enter").After(50, "enter").After(20, "ctrl+Y").After(20, "backspace");
                 }},
        // The same interval for both: setting it again must not delay the next tick.
        TVariant{"EqualDelays", "EnterCount=1\r\nEnterDelayMs=100\r\nClearDelayMs=100\r\n",
                 [](TExpectedKeys& e) {
                     e.Clearing(100, true).After(100, "text /effort max").After(0, "enter");
                     e.After(100, "enter").After(100, "ctrl+Y").After(100, "backspace");
                 }}),
    [](const ::testing::TestParamInfo<TVariant>& test) { return std::string(test.param.Name); });

TEST_F(Burst, AModifierHeldOnEveryTickIsWaitedForSixtyTicksThenReleasedAgain) {
    Begin();
    PressAndMark();
    // The user's finger stays on Alt: the first release batch did not lift it for good.
    Scene.Sim.Desktop.SetKeyDown(VkMenu, true);

    Scene.Advance(1500 - 1);
    EXPECT_EQ(Sent(), (std::vector<TSentKeys>{{0, "release"}}));
    EXPECT_EQ(Scene.Form->Phase(), spWaitModifiers);

    Scene.Advance(1);
    EXPECT_EQ(Sent().back(), (TSentKeys{1500, "release"})) << "the sixtieth tick releases once more";
    EXPECT_EQ(Scene.Form->Phase(), spClearPrompt);
    Scene.Advance(60);
    EXPECT_EQ(Sent().back(), (TSentKeys{1560, "ctrl+E"}));
}

TEST_F(Burst, ClearingStartsOnTheFirstTickAfterTheUserLetsGo) {
    Begin();
    PressAndMark();
    Scene.Sim.Desktop.SetKeyDown(VkControl, true);

    Scene.Advance(250);
    Scene.Sim.Desktop.SetKeyDown(VkControl, false);
    Scene.Advance(100);

    EXPECT_EQ(Sent(), (std::vector<TSentKeys>{{0, "release"}, {335, "ctrl+E"}}));
}

TEST_F(Burst, TheTickAfterTheLastClearingStepTypesTheCommand) {
    Begin();
    PressAndMark();
    Scene.Advance(25 + 29 * 60);
    EXPECT_EQ(Sent().back(), (TSentKeys{1765, "ctrl+U"}));
    EXPECT_EQ(Scene.Form->Phase(), spClearPrompt);

    Scene.Advance(60);

    const auto sent = Sent();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[sent.size() - 2], (TSentKeys{1825, "text /effort high"}));
    EXPECT_EQ(sent.back(), (TSentKeys{1825, "enter"}));
    EXPECT_EQ(Scene.Form->Phase(), spEnterBurst);
}

struct TFocusLoss {
    const char* Name;
    std::uint64_t LeaveAtMs; // after the press; the next tick finds the focus gone
    TSendPhase Phase;
    std::u16string Message;
};

void PrintTo(const TFocusLoss& Loss, std::ostream* os) {
    *os << Loss.Name;
}

class BurstFocusLoss : public Burst, public ::testing::WithParamInterface<TFocusLoss> {};

TEST_P(BurstFocusLoss, StopsSendingAndTellsWhatStateThePromptIsIn) {
    const TFocusLoss& loss = GetParam();
    Begin();
    PressAndMark();
    if (loss.Phase == spWaitModifiers) {
        Scene.Sim.Desktop.SetKeyDown(VkMenu, true);
    }
    Scene.Advance(loss.LeaveAtMs);
    ASSERT_EQ(Scene.Form->Phase(), loss.Phase);
    const std::size_t sentBefore = Scene.Sim.Desktop.InputJournal().size();
    ExpectEveryBatchWentTo(Scene.Console);

    Scene.Focus(Scene.Notepad);
    Scene.Advance(3000);

    EXPECT_EQ(Scene.Sim.Desktop.InputJournal().size(), sentBefore) << "no keystroke after the focus left";
    EXPECT_EQ(Scene.LastLogLine(), loss.Message);
    EXPECT_TRUE(Scene.Sim.Desktop.Beeps().empty()) << "a focus loss is no refusal";
    ExpectIdle();
}

INSTANTIATE_TEST_SUITE_P(
    Phases, BurstFocusLoss,
    ::testing::Values(
        TFocusLoss{"WaitingForModifiers", 100, spWaitModifiers,
                   u"The focus left the terminal before the command could be typed. Nothing was sent."},
        TFocusLoss{
            "ClearingThePrompt", 300, spClearPrompt,
            u"The focus left the terminal while the prompt was being cleared. The command was not typed. If "
            u"your text is gone from the prompt, press Ctrl+Y in that terminal to paste it back, and remove "
            u"the extra \"x\" if one appears at its end."},
        TFocusLoss{
            "PressingEnter", 1900, spEnterBurst,
            u"The focus left the terminal, so the remaining Enter keystrokes were not sent. If the \"Change "
            u"effort level?\" question is still on screen, answer it yourself."},
        TFocusLoss{
            "RestoringThePrompt", 2600, spRestorePrompt,
            u"The focus left the terminal before your typed text could be put back. Press Ctrl+Y in that "
            u"terminal to paste it back, then Backspace once to remove the extra \"x\" from its end."},
        TFocusLoss{
            "RemovingTheMarker", 2650, spRemoveMarker,
            u"The focus left the terminal just before the last keystroke. Your typed text is back in the "
            u"prompt, but it carries one extra \"x\" at its end - press Backspace once in that terminal to "
            u"remove it."}),
    [](const ::testing::TestParamInfo<TFocusLoss>& test) { return std::string(test.param.Name); });

TEST_F(Burst, AfterAFocusLossTheGripFollowsTheNewFrontWindowAtOnce) {
    Begin();
    PressAndMark();
    Scene.Advance(300);
    Scene.Focus(Scene.Notepad);
    Scene.Advance(25); // the next clearing tick, before the focus timer's

    EXPECT_FALSE(Scene.Form->HotkeysHeld());
    EXPECT_EQ(Scene.Sim.Hotkeys.RegistrationCount(), 0u);
}

struct TShortfall {
    const char* Name;
    std::uint64_t LimitAtMs; // after the press
    std::uint32_t Records;
    std::uint32_t Error;
    bool Beep;
    std::u16string Message;
};

void PrintTo(const TShortfall& Shortfall, std::ostream* os) {
    *os << Shortfall.Name;
}

class BurstShortfall : public Burst, public ::testing::WithParamInterface<TShortfall> {};

TEST_P(BurstShortfall, EndsTheBurstWithItsMessageAndTheBeepSwitch) {
    const TShortfall& c = GetParam();
    Begin(c.Beep ? "" : "[Sending]\r\nBeepOnRefusal=0\r\n");
    PressAndMark();
    Scene.Advance(c.LimitAtMs);
    Scene.Sim.Desktop.LimitInput(c.Records, c.Error);
    const std::size_t before = Scene.Sim.Desktop.InputJournal().size();

    Scene.Advance(3000);

    EXPECT_EQ(Scene.Sim.Desktop.InputJournal().size(), before + 1) << "the short batch is the last one";
    EXPECT_EQ(Scene.LastLogLine(), c.Message);
    EXPECT_EQ(Scene.Sim.Desktop.Beeps(),
              c.Beep ? std::vector<std::uint32_t>{0x10} : std::vector<std::uint32_t>{});
    ExpectIdle();
}

INSTANTIATE_TEST_SUITE_P(
    Batches, BurstShortfall,
    ::testing::Values(
        TShortfall{"RightWhileClearing", 100, 1, 5, true,
                   u"Windows accepted only 1 of 2 keystrokes while clearing the prompt (error 5). Nothing "
                   u"was typed."},
        TShortfall{
            "CtrlEWhileClearingSilently", 30, 3, 1168, false,
            u"Windows accepted only 3 of 4 keystrokes while clearing the prompt (error 1168). Nothing was "
            u"typed."},
        TShortfall{
            "TheCommand", 1800, 10, 87, true,
            u"Windows accepted only 10 of 24 keystrokes (error 87). The command was not typed in full."},
        TShortfall{
            "TheCommandSilently", 1800, 0, 5, false,
            u"Windows accepted only 0 of 24 keystrokes (error 5). The command was not typed in full."}),
    [](const ::testing::TestParamInfo<TShortfall>& test) { return std::string(test.param.Name); });

TEST_F(Burst, TheSenderAlsoLogsTheShortfallAsAnError) {
    Begin();
    PressAndMark();
    Scene.Advance(1800);
    Scene.Sim.Desktop.LimitInput(10, 87);
    Scene.Advance(100);

    EXPECT_EQ(
        Scene.RamLog(lvErrors),
        std::vector<std::u16string>{u"Tarvin.Sender: SendInput delivered 10 of 24 events. Windows error 87"});
}

struct TLateShortfall {
    const char* Name;
    std::uint64_t LimitAtMs; // after the press, just before the key that falls short
    const char* Key;
    std::u16string Message;
};

void PrintTo(const TLateShortfall& Shortfall, std::ostream* os) {
    *os << Shortfall.Name;
}

class BurstLateShortfall : public Burst, public ::testing::WithParamInterface<TLateShortfall> {};

// Once the command is typed, a short key is not a refusal of the press, but the user must know
// what the terminal was left with.
TEST_P(BurstLateShortfall, StopsTheBurstAndSaysWhatToCheck) {
    const TLateShortfall& c = GetParam();
    Begin();
    PressAndMark();
    Scene.Advance(c.LimitAtMs);
    Scene.Sim.Desktop.LimitInput(1, 5);
    const std::size_t before = Scene.Sim.Desktop.InputJournal().size();

    Scene.Advance(3000);

    const auto& journal = Scene.Sim.Desktop.InputJournal();
    ASSERT_EQ(journal.size(), before + 1) << "the short batch is the last one";
    EXPECT_EQ(BatchName(journal.back().Records), c.Key);
    EXPECT_EQ(Scene.LastLogLine(), c.Message);
    ExpectIdle();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BurstLateShortfall,
    ::testing::Values(
        TLateShortfall{"Enter", 1900, "enter",
                       u"Windows accepted only 1 of 2 keystrokes (error 5), so Enter did not go out in full. If "
                       u"the \"Change effort level?\" question is on screen, answer it yourself."},
        TLateShortfall{"CtrlY", 2600, "ctrl+Y",
                       u"Windows accepted only 1 of 4 keystrokes (error 5), so your text was not pasted back. "
                       u"Press Ctrl+Y in that terminal, then Backspace once to remove the extra \"x\" from its "
                       u"end."},
        TLateShortfall{"Backspace", 2650, "backspace",
                       u"Windows accepted only 1 of 2 keystrokes (error 5). Your text is back, but it may carry "
                       u"one extra \"x\" at its end - press Backspace once in that terminal to remove it."}),
    [](const ::testing::TestParamInfo<TLateShortfall>& test) { return std::string(test.param.Name); });

TEST_F(Burst, APressDuringABurstIsIgnoredWithoutAWord) {
    Begin();
    PressAndMark();
    Scene.Advance(500);
    const auto linesBefore = Scene.LogBox();

    ASSERT_TRUE(Scene.Press(u"Ctrl+Alt+1")) << "the hotkeys stay held during the burst";
    Scene.Advance(3000);

    auto lines = Scene.LogBox();
    ASSERT_EQ(lines.size(), linesBefore.size() + 1);
    EXPECT_EQ(lines.back(), TypedIntoConsole) << "the running level stays";
    EXPECT_TRUE(Scene.Sim.Desktop.Beeps().empty());
}

TEST_F(Burst, TheTraceSwitchConfirmsTheRestore) {
    Begin("[Sending]\r\nTraceGrip=1\r\n");
    PressAndMark();
    Scene.Advance(3000);

    EXPECT_EQ(Scene.LastLogLine(),
              u"Pasted the deleted prompt text back (Ctrl+Y) and removed the marker character.");
}

struct TRefusal {
    const char* Name;
    std::string Ini;
    std::u16string Class;
    std::u16string Title;
    bool Elevated;
    std::u16string Message;
};

void PrintTo(const TRefusal& Refusal, std::ostream* os) {
    *os << Refusal.Name;
}

class BurstRefusal : public ::testing::TestWithParam<TRefusal> {};

// The hotkeys are held for every window here, so the press reaches the window whatever is in front.
TEST_P(BurstRefusal, TypesNothingLogsTheVerdictAndBeeps) {
    const TRefusal& c = GetParam();
    TMainWindowScene scene;
    scene.WriteIni(BlindIni("[Target]\r\nHotkeyOnlyOnTerminal=0\r\n" + c.Ini));
    scene.Start();
    const auto window = scene.Sim.Desktop.AddWindow(c.Class, c.Title, 5100);
    scene.Sim.Desktop.AddProcess(5100, c.Elevated ? 0x3000 : 0x2000);
    scene.Focus(window);
    const std::size_t before = scene.Sim.Desktop.InputJournal().size();

    ASSERT_TRUE(scene.Press(u"Ctrl+Alt+2"));
    scene.Advance(3000);

    EXPECT_EQ(scene.Sim.Desktop.InputJournal().size(), before);
    EXPECT_EQ(scene.LastLogLine(), c.Message);
    EXPECT_EQ(scene.Sim.Desktop.Beeps(), std::vector<std::uint32_t>{0x10});
    EXPECT_EQ(scene.Form->Phase(), spIdle);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, BurstRefusal,
    ::testing::Values(TRefusal{"ClassNotInTheList", "", u"Notepad", u"notes.txt", false,
                               u"Focused window is \"Notepad\" (\"notes.txt\"), which is not in the accepted "
                               u"class list. Nothing "
                               u"was typed."},
                      TRefusal{"TitleWithoutMarker", "RequireTitleMarker=1\r\n",
                               u"CASCADIA_HOSTING_WINDOW_CLASS", u"Windows PowerShell", false,
                               u"Focused window is a terminal but its title \"Windows PowerShell\" carries "
                               u"no Claude Code marker. "
                               u"Nothing was typed."},
                      TRefusal{"ElevatedTerminal", "", u"ConsoleWindowClass", u"Administrator: Claude", true,
                               u"Focused window runs at High (elevated) while Tarvin runs at Medium "
                               u"(normal). Windows (UIPI) would "
                               u"discard every keystroke without saying so. Nothing was typed. Run Tarvin at "
                               u"the same level as the "
                               u"terminal."}),
    [](const ::testing::TestParamInfo<TRefusal>& test) { return std::string(test.param.Name); });

TEST_F(Burst, ARefusalWithoutTheBeepSwitchIsSilent) {
    Begin("[Target]\r\nHotkeyOnlyOnTerminal=0\r\n[Sending]\r\nBeepOnRefusal=0\r\n");
    Scene.Focus(Scene.Notepad);

    ASSERT_TRUE(Scene.Press(u"Ctrl+Alt+3"));

    EXPECT_TRUE(Scene.LastLogLine().starts_with(u"Focused window is \"Notepad\""))
        << Scene.LastLogLine().size();
    EXPECT_TRUE(Scene.Sim.Desktop.Beeps().empty());
}

TEST_F(Burst, HotkeyIdentifiersOutsideOneToFiveGoToTheDefaultHandling) {
    Begin();
    const std::size_t before = Scene.Sim.Desktop.InputJournal().size();
    for (const std::uintptr_t id : {std::uintptr_t{0}, std::uintptr_t{6}, std::uintptr_t{0xBFFF}}) {
        Scene.Form->Perform(toolkit::msgHotKey, id);
    }
    EXPECT_EQ(Scene.Backend.DefaultHandled().size(), 3u);
    EXPECT_EQ(Scene.Sim.Desktop.InputJournal().size(), before);
    EXPECT_EQ(Scene.Form->Phase(), spIdle);
}

TEST_F(Burst, EveryLevelTypesItsWord) {
    Begin();
    const std::pair<const char16_t*, const char16_t*> levels[] = {{u"Ctrl+Alt+1", u"/effort low"},
                                                                  {u"Ctrl+Alt+2", u"/effort medium"},
                                                                  {u"Ctrl+Alt+3", u"/effort high"},
                                                                  {u"Ctrl+Alt+4", u"/effort xhigh"},
                                                                  {u"Ctrl+Alt+5", u"/effort max"}};
    for (const auto& [chord, command] : levels) {
        ASSERT_TRUE(Scene.Press(chord)) << base::Utf16ToUtf8(chord);
        Scene.Advance(3000);
        EXPECT_EQ(Scene.LastLogLine(), u"Typed \"" + std::u16string(command) +
                                           u"\" into ConsoleWindowClass (\"\u2733 Claude Code\").");
    }
}

} // namespace
} // namespace tarvin::test
