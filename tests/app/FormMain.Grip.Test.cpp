// The hotkey grip of the main window: which window in front makes it hold the five hotkeys, what
// the hotkey list shows, and what it writes to the log.
#include "tests/app/FormMain.Scene.h"

#include "base/Base.Unicode.h"

#include <gtest/gtest.h>

namespace tarvin::test {
namespace {

const std::u16string Held = u"held - ready";
const std::u16string Released = u"released - free for other programs";
const std::u16string Invalid = u"not a valid shortcut - fix it in the INI file";
const std::u16string Refused = u"REFUSED by Windows - another program owns it";
constexpr std::uint32_t CtrlAlt = platform::HotkeyModControl | platform::HotkeyModAlt;

std::vector<std::u16string> All(const std::u16string& Status) {
    return std::vector<std::u16string>(EffortLevelCount, Status);
}

struct TGripCase {
    const char* Name;
    std::string Ini;
    std::u16string FrontClass; // empty: no window in front
    std::u16string FrontTitle;
    bool Elevated;
    bool OtherOwnsCtrlAlt3;
    bool Held;
    std::vector<std::u16string> Statuses;
};

void PrintTo(const TGripCase& Case, std::ostream* os) {
    *os << Case.Name;
}

class GripDecision : public ::testing::TestWithParam<TGripCase> {};

TEST_P(GripDecision, HoldsExactlyTheHotkeysItShould) {
    const TGripCase& c = GetParam();
    TMainWindowScene scene;
    scene.WriteIni(c.Ini);
    if (c.OtherOwnsCtrlAlt3) {
        ASSERT_TRUE(scene.Sim.Hotkeys.RegisterForOtherProgram(CtrlAlt, '3'));
    }
    scene.Start();
    platform::TWindowHandle front = 0;
    if (!c.FrontClass.empty()) {
        front = scene.Sim.Desktop.AddWindow(c.FrontClass, c.FrontTitle, 5100);
        scene.Sim.Desktop.AddProcess(5100, c.Elevated ? 0x3000 : 0x2000);
    }
    scene.Focus(front);

    scene.Advance(200);

    EXPECT_EQ(scene.Form->HotkeysHeld(), c.Held);
    EXPECT_EQ(scene.Statuses(), c.Statuses);
    for (TEffortLevel level : AllEffortLevels) {
        EXPECT_EQ(scene.Sim.Hotkeys.IsRegistered(scene.Form->Handle(), HotkeyId(level)),
                  c.Statuses[level] == Held)
            << base::Utf16ToUtf8(EffortWord[level]);
        EXPECT_EQ(scene.Form->Registered(level), c.Statuses[level] == Held);
    }
}

const std::string Defaults = "[Hotkeys]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Fronts, GripDecision,
    ::testing::Values(
        TGripCase{"TarvinsOwnWindow", Defaults, u"TarvinWndClass", u"Tarvin", false, false, false,
                  All(Released)},
        TGripCase{"NoWindow", Defaults, u"", u"", false, false, false, All(Released)},
        TGripCase{"Notepad", Defaults, u"Notepad", u"notes.txt", false, false, false, All(Released)},
        TGripCase{"ClassicConsole", Defaults, u"ConsoleWindowClass", u"cmd", false, false, true, All(Held)},
        TGripCase{"WindowsTerminal", Defaults, u"CASCADIA_HOSTING_WINDOW_CLASS", u"pwsh", false, false, true,
                  All(Held)},
        TGripCase{"ClassInOtherCase", Defaults, u"consolewindowclass", u"cmd", false, false, true, All(Held)},
        // The grip looks at class and marker only; the press is refused later for the integrity.
        TGripCase{"ElevatedConsole", Defaults, u"ConsoleWindowClass", u"Administrator", true, false, true,
                  All(Held)},
        TGripCase{"MarkerRequiredAndMissing", "[Target]\r\nRequireTitleMarker=1\r\n", u"ConsoleWindowClass",
                  u"Windows PowerShell", false, false, false, All(Released)},
        TGripCase{"MarkerRequiredAndPresent", "[Target]\r\nRequireTitleMarker=1\r\n", u"ConsoleWindowClass",
                  u"\u25D0 Claude Code", false, false, true, All(Held)},
        TGripCase{"OwnClassList", "[Target]\r\nAcceptedClasses=mintty\r\n", u"ConsoleWindowClass", u"cmd",
                  false, false, false, All(Released)},
        TGripCase{"SettingOffHoldsForAnyWindow", "[Target]\r\nHotkeyOnlyOnTerminal=0\r\n", u"Notepad",
                  u"notes", false, false, true, All(Held)},
        TGripCase{"InvalidShortcutWhileHeld",
                  "[Hotkeys]\r\nmedium=Ctrl+Alt+Q+\r\n",
                  u"ConsoleWindowClass",
                  u"cmd",
                  false,
                  false,
                  true,
                  {Held, Invalid, Held, Held, Held}},
        TGripCase{"InvalidShortcutWhileReleased",
                  "[Hotkeys]\r\nmedium=Ctrl+Alt+Q+\r\n",
                  u"Notepad",
                  u"notes",
                  false,
                  false,
                  false,
                  {Released, Invalid, Released, Released, Released}},
        TGripCase{"CombinationOfAnotherProgram",
                  Defaults,
                  u"ConsoleWindowClass",
                  u"cmd",
                  false,
                  true,
                  true,
                  {Held, Held, Refused, Held, Held}},
        TGripCase{"CombinationOfAnotherProgramWhileReleased", Defaults, u"Notepad", u"notes", false, true,
                  false, All(Released)}),
    [](const ::testing::TestParamInfo<TGripCase>& test) { return std::string(test.param.Name); });

TEST(GripRegistration, RegistersEachLevelWithItsIdentifierFlagsAndKey) {
    TMainWindowScene scene;
    scene.WriteIni("[Hotkeys]\r\nlow=  Ctrl+Shift+F5  \r\nhigh=\r\nmax=alt+f12\r\n");
    scene.Start();
    scene.Sim.Hotkeys.ClearCalls();
    scene.Focus(scene.Console);

    const std::string window = "0x" + [&] {
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(scene.Form->Handle()));
        return std::string(buffer);
    }();
    const std::vector<std::string> expected = {
        "unregister " + window + " 1", "register " + window + " 1 mods=0x4006 vk=0x74 ok",
        "unregister " + window + " 2", "register " + window + " 2 mods=0x4003 vk=0x32 ok",
        "unregister " + window + " 3", "register " + window + " 3 mods=0x4003 vk=0x33 ok",
        "unregister " + window + " 4", "register " + window + " 4 mods=0x4003 vk=0x34 ok",
        "unregister " + window + " 5", "register " + window + " 5 mods=0x4001 vk=0x7B ok"};
    EXPECT_EQ(scene.Sim.Hotkeys.Calls(), expected);
}

// The grip follows the foreground as it changes: a chord pressed right after switching reaches
// Tarvin, not the terminal. The poll stays only as a slow safety net.
TEST(GripFollowsTheForeground, TakesAndReleasesTheHotkeysTheMomentTheWindowChanges) {
    TMainWindowScene scene;
    scene.Start();
    EXPECT_TRUE(scene.Sim.Desktop.Watching());
    EXPECT_EQ(scene.Form->tmrFocus->Interval(), GripPollMs) << "until the watch is heard, the poll stays quick";

    scene.Focus(scene.Console);
    EXPECT_TRUE(scene.Form->HotkeysHeld()) << "no timer tick has passed";
    EXPECT_EQ(scene.Form->tmrFocus->Interval(), GripSafetyPollMs);
    EXPECT_TRUE(scene.Press(u"Ctrl+Alt+3"));
    scene.Focus(scene.Notepad);
    EXPECT_TRUE(scene.Form->HotkeysHeld()) << "the grip stays while the burst runs";
    scene.Advance(3000);
    EXPECT_FALSE(scene.Form->HotkeysHeld()) << "the burst's end lets the grip catch up";

    scene.Focus(scene.Console);
    scene.Focus(scene.Notepad);
    EXPECT_FALSE(scene.Form->HotkeysHeld());
    EXPECT_EQ(scene.Sim.Hotkeys.RegistrationCount(), 0u);

    scene.Form->Close();
    scene.Backend.Step();
    scene.Form = nullptr;
    EXPECT_FALSE(scene.Sim.Desktop.Watching()) << "the watch ends with the window";
}

TEST(GripList, ShowsTheTextTheCommandAndTheStatusOfEveryLevel) {
    TMainWindowScene scene;
    scene.WriteIni("[Hotkeys]\r\nlow=  Ctrl+Shift+F5  \r\nhigh=\r\nxhigh=Ctrl+Alt+Q+\r\n");
    scene.Start();

    const toolkit::TListView& list = *scene.Form->lvHotkeys;
    ASSERT_EQ(list.Columns().Count(), 3);
    EXPECT_EQ(list.Columns()[0].Caption(), u"Hotkey");
    EXPECT_EQ(list.Columns()[1].Caption(), u"Types");
    EXPECT_EQ(list.Columns()[2].Caption(), u"Status");
    const std::vector<std::vector<std::u16string>> rows = {{u"Ctrl+Shift+F5", u"/effort low", Released},
                                                           {u"Ctrl+Alt+2", u"/effort medium", Released},
                                                           {u"Ctrl+Alt+3", u"/effort high", Released},
                                                           {u"Ctrl+Alt+Q+", u"/effort xhigh", Invalid},
                                                           {u"Ctrl+Alt+5", u"/effort max", Released}};
    ASSERT_EQ(list.Items().Count(), 5);
    for (int i = 0; i < 5; ++i) {
        const toolkit::TListItem& item = list.Items()[i];
        EXPECT_EQ((std::vector<std::u16string>{item.Caption(), item.SubItems()[0], item.SubItems()[1]}),
                  rows[static_cast<std::size_t>(i)]);
    }
}

TEST(GripTiming, TakesWithinOneTickOfTheTerminalComingToTheFrontAndLetsGoAsFast) {
    TMainWindowScene scene;
    scene.Start();
    scene.Advance(70);

    scene.Focus(scene.Console);
    scene.Advance(199);
    EXPECT_TRUE(scene.Form->HotkeysHeld());

    scene.Focus(scene.Notepad);
    scene.Advance(200);
    EXPECT_FALSE(scene.Form->HotkeysHeld());
    EXPECT_EQ(scene.Sim.Hotkeys.RegistrationCount(), 0u);
}

TEST(GripTiming, AnotherProgramMayTakeTheChordWhileNoTerminalIsInFrontAndTarvinTakesItBack) {
    TMainWindowScene scene;
    scene.Start();
    scene.Focus(scene.Console);
    scene.Advance(200);
    EXPECT_FALSE(scene.Sim.Hotkeys.RegisterForOtherProgram(CtrlAlt, '3')) << "Tarvin holds it";

    scene.Focus(scene.Notepad);
    scene.Advance(200);
    ASSERT_TRUE(scene.Sim.Hotkeys.RegisterForOtherProgram(CtrlAlt, '3'));
    EXPECT_FALSE(scene.Sim.Hotkeys.Press(CtrlAlt, '3').has_value()) << "the press goes to the other program";
    scene.Sim.Hotkeys.UnregisterForOtherProgram(CtrlAlt, '3');

    scene.Focus(scene.Console);
    scene.Advance(200);
    EXPECT_TRUE(scene.Sim.Hotkeys.IsRegistered(scene.Form->Handle(), 3));
}

TEST(GripTrace, OneLinePerSwitchAndNoneWhileTheFocusStays) {
    TMainWindowScene scene;
    scene.WriteIni("[Sending]\r\nTraceGrip=1\r\n");
    scene.Start();
    const std::size_t startLines = scene.LogBox().size();

    scene.Focus(scene.Console);
    scene.Advance(1000);
    scene.Focus(scene.Notepad);
    scene.Advance(1000);
    scene.Focus(0);
    scene.Advance(1000);
    scene.Focus(scene.Console);
    scene.Advance(1000);

    const auto lines = scene.LogBox();
    EXPECT_EQ(
        std::vector<std::u16string>(lines.begin() + static_cast<std::ptrdiff_t>(startLines), lines.end()),
        (std::vector<std::u16string>{u"grip: front=\"ConsoleWindowClass\"  TAKING Ctrl+Alt+1..5",
                                     u"grip: front=\"Notepad\"  RELEASING Ctrl+Alt+1..5",
                                     u"grip: front=\"ConsoleWindowClass\"  TAKING Ctrl+Alt+1..5"}));
}

TEST(GripTrace, WithoutTheSwitchASwitchWritesNothing) {
    TMainWindowScene scene;
    scene.Start();
    const std::size_t startLines = scene.LogBox().size();

    scene.Focus(scene.Console);
    scene.Advance(400);
    scene.Focus(scene.Notepad);
    scene.Advance(400);

    EXPECT_EQ(scene.LogBox().size(), startLines);
}

TEST(GripTick, AnUnchangedTickRegistersLogsAndRefillsNothing) {
    TMainWindowScene scene;
    scene.WriteIni("[Sending]\r\nTraceGrip=1\r\n[Hotkeys]\r\nlow=nonsense\r\n");
    ASSERT_TRUE(scene.Sim.Hotkeys.RegisterForOtherProgram(CtrlAlt, '3'));
    scene.Start();
    scene.Focus(scene.Console);
    scene.Advance(200);
    const std::size_t calls = scene.Sim.Hotkeys.Calls().size();
    const std::size_t lines = scene.LogBox().size();
    const int listSyncs = scene.Backend.PeerOf(*scene.Form->lvHotkeys)->SyncCount(toolkit::TChange::Items);

    scene.Advance(2000); // ten ticks, the console still in front

    EXPECT_EQ(scene.Sim.Hotkeys.Calls().size(), calls) << "a refused combination is not retried";
    EXPECT_EQ(scene.LogBox().size(), lines);
    EXPECT_EQ(scene.Backend.PeerOf(*scene.Form->lvHotkeys)->SyncCount(toolkit::TChange::Items), listSyncs);
}

TEST(GripLog, RefusedAndInvalidHotkeysAreLoggedOnEveryTakeWithoutABeep) {
    TMainWindowScene scene;
    scene.WriteIni("[Hotkeys]\r\nlow=Ctrl+Alt+Q+\r\n");
    ASSERT_TRUE(scene.Sim.Hotkeys.RegisterForOtherProgram(CtrlAlt, '3'));
    scene.Start();
    const std::size_t startLines = scene.LogBox().size();

    for (int take = 0; take < 2; ++take) {
        scene.Focus(scene.Console);
        scene.Advance(200);
        scene.Focus(scene.Notepad);
        scene.Advance(200);
    }

    const std::u16string invalid = u"Hotkey for \"low\" is not a valid shortcut: \"Ctrl+Alt+Q+\"";
    const std::u16string refused =
        u"Windows refused the hotkey Ctrl+Alt+3 for \"high\". Another program already owns "
        u"that combination. Change it in " +
        IniPath;
    const auto lines = scene.LogBox();
    EXPECT_EQ(
        std::vector<std::u16string>(lines.begin() + static_cast<std::ptrdiff_t>(startLines), lines.end()),
        (std::vector<std::u16string>{invalid, refused, invalid, refused}));
    EXPECT_TRUE(scene.Sim.Desktop.Beeps().empty());
}

TEST(GripBurst, TheGripStaysAsItIsWhileABurstRuns) {
    TMainWindowScene scene;
    scene.WriteIni("[Sending]\r\nBlindWhenUnreadable=1\r\n");
    scene.Start();
    scene.Focus(scene.Console);
    scene.Advance(200);
    ASSERT_TRUE(scene.Press(u"Ctrl+Alt+3"));
    scene.Advance(100);

    scene.Focus(scene.Notepad);
    scene.Form->UpdateHotkeyGrip();

    EXPECT_TRUE(scene.Form->HotkeysHeld());
    EXPECT_EQ(scene.Statuses(), All(Held));
}

TEST(GripSettingOff, HoldsFromStartToShutdownWithoutTheFocusTimer) {
    TMainWindowScene scene;
    scene.WriteIni("[Target]\r\nHotkeyOnlyOnTerminal=0\r\n");
    scene.Start();
    scene.Focus(scene.Notepad);

    EXPECT_TRUE(scene.Form->HotkeysHeld());
    EXPECT_FALSE(scene.Form->tmrFocus->Enabled());
    EXPECT_FALSE(scene.Backend.TimerArmed(*scene.Form->tmrFocus));
    scene.Advance(5000);
    EXPECT_EQ(scene.Sim.Hotkeys.RegistrationCount(), 5u);

    scene.Form->Close();
    scene.Backend.Step();
    EXPECT_EQ(scene.Sim.Hotkeys.RegistrationCount(), 0u);
}

} // namespace
} // namespace tarvin::test
