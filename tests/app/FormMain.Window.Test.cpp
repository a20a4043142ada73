// The main window around the grip and the sequencer: its layout, start-up and its lines, the
// tray, minimising, the start-up check box, the second copy's message and the shutdown.
#include "tests/app/FormMain.Scene.h"
#include "tests/tools/termsim/Termsim.SimTerminal.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.IniStore.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvin::test {
namespace {

using orvel::lvErrors;
using orvel::lvInfos;
using orvel::lvWarnings;
using toolkit::TAlign;

const std::string LaterRun = "[AppData Settings]\r\nShowOnError=0\r\n";

TEST(MainWindowLayout, IsBuiltAsDesigned) {
    TMainWindowScene scene;
    TMainForm& form = scene.Start();

    EXPECT_EQ(form.Name(), u"MainForm");
    EXPECT_EQ(form.ClientWidth(), 640);
    EXPECT_EQ(form.ClientHeight(), 420);
    EXPECT_EQ(form.MinSize(), (toolkit::TSize{480, 320}));
    EXPECT_EQ(form.Position(), toolkit::TPosition::poDesigned);
    // The first run has no saved position: the middle of the 1920 x 1040 work area.
    EXPECT_EQ(form.Left(), (1920 - form.Width()) / 2);
    EXPECT_EQ(form.Top(), (1040 - form.Height()) / 2);
    EXPECT_TRUE(form.ScreenSnap());
    EXPECT_EQ(form.SnapBuffer(), 5);
    EXPECT_TRUE(form.ShowHint());

    const std::vector<toolkit::TControl*> children{form.pnlTop, form.lvHotkeys, form.mmoLog, form.pnlBottom};
    EXPECT_EQ(form.Controls(), children);
    EXPECT_EQ(form.pnlTop->Align(), TAlign::alTop);
    EXPECT_EQ(form.pnlTop->Height(), 49);
    EXPECT_EQ(form.lblIntro->Parent(), form.pnlTop);
    EXPECT_TRUE(form.lblIntro->WordWrap());
    EXPECT_EQ(form.lblIntro->Caption(),
              u"Press a hotkey below while a Claude Code terminal has the focus: Tarvin looks at its screen, "
              u"puts your half-typed draft aside, types the /effort command and hands the draft back.");
    EXPECT_EQ(form.lvHotkeys->Align(), TAlign::alTop);
    EXPECT_EQ(form.lvHotkeys->Height(), 145);
    EXPECT_EQ(form.lvHotkeys->ViewStyle(), toolkit::TViewStyle::vsReport);
    EXPECT_TRUE(form.lvHotkeys->ReadOnly());
    EXPECT_TRUE(form.lvHotkeys->RowSelect());
    EXPECT_EQ(form.lvHotkeys->Columns()[0].Width() + form.lvHotkeys->Columns()[1].Width() +
                  form.lvHotkeys->Columns()[2].Width(),
              600);
    EXPECT_EQ(form.mmoLog->Align(), TAlign::alClient);
    EXPECT_TRUE(form.mmoLog->ReadOnly());
    EXPECT_TRUE(form.mmoLog->WordWrap()) << "no line of the log box is cut off at its edge";
    EXPECT_EQ(form.mmoLog->ScrollBars(), toolkit::TScrollStyle::ssVertical);
    EXPECT_EQ(form.mmoLog->Hint(), u"What Tarvin did, and why it refused when it refused.");
    EXPECT_EQ(form.pnlBottom->Align(), TAlign::alBottom);
    EXPECT_EQ(form.pnlBottom->Height(), 41);
    EXPECT_EQ(form.chkAutoStart->Parent(), form.pnlBottom);
    EXPECT_EQ(form.chkAutoStart->Caption(), u"Start Tarvin when Windows starts");
    EXPECT_EQ(form.btnAbout->Caption(), u"About");
    EXPECT_EQ(form.btnAbout->Width(), 100);
    EXPECT_EQ(form.btnAbout->Height(), 29);

    // The log box takes what the list and the panels leave, and the button keeps to the right.
    form.SetClientSize(800, 600);
    EXPECT_EQ(form.mmoLog->Top(), form.lvHotkeys->Top() + 145 + 3 + 3);
    EXPECT_EQ(form.mmoLog->Top() + form.mmoLog->Height() + 3, 600 - 41);
    EXPECT_EQ(form.btnAbout->Left() + form.btnAbout->Width(), 800 - 10);

    EXPECT_EQ(form.TrayIcon->Hint(), u"Tarvin - click to bring the window back");
    EXPECT_EQ(form.TrayIcon->PopupMenu(), form.mnuTray);
    toolkit::TMenuItem* items = form.mnuTray->Items();
    ASSERT_EQ(items->Count(), 4);
    EXPECT_EQ(items->Items(0)->Caption(), u"Show Tarvin");
    EXPECT_EQ(items->DefaultItem(), form.mnuShow);
    EXPECT_EQ(items->Items(1)->Caption(), u"About Tarvin");
    EXPECT_TRUE(items->Items(2)->IsLine());
    EXPECT_EQ(items->Items(3)->Caption(), u"Exit");
}

TEST(MainWindowLayout, TheWindowClassIsTheSingleInstanceName) {
    TMainWindowScene scene;
    TMainForm& form = scene.Start();
    toolkit::TCreateParams params;
    form.CreateParams(params);
    EXPECT_EQ(params.WinClassName, u"TarvinWndClass");
}

struct TStartupCase {
    const char* Name;
    std::string Ini;
    std::u16string PromptLine;
    std::u16string GripLine;
};

void PrintTo(const TStartupCase& Case, std::ostream* os) {
    *os << Case.Name;
}

class MainWindowStartup : public ::testing::TestWithParam<TStartupCase> {};

TEST_P(MainWindowStartup, WritesItsLinesForTheSettings) {
    TMainWindowScene scene;
    scene.WriteIni(GetParam().Ini);
    scene.Start();

    const std::vector<std::u16string> expected = {
        u"Tarvin started. Tarvin itself runs at Medium (normal) integrity.", GetParam().PromptLine,
        GetParam().GripLine};
    EXPECT_EQ(scene.LogBox(), expected);
    const auto infos = scene.RamLog(lvInfos);
    EXPECT_EQ(std::vector<std::u16string>(infos.end() - 3, infos.end()), expected);
}

const std::u16string KeepsText =
    u"Press a hotkey while a Claude Code terminal has the focus. Anything half-typed in the "
    u"prompt is put aside and handed back afterwards.";
const std::u16string DiscardsText =
    u"Press a hotkey while a Claude Code terminal has the focus. Anything half-typed in "
    u"the prompt is DISCARDED (RestorePromptAfter is off in " +
    IniPath + u").";
const std::u16string EmptyPromptText =
    u"Press a hotkey while a Claude Code terminal has the focus AND the prompt is "
    u"empty (ClearPromptFirst is off in " +
    IniPath + u").";
const std::u16string OnlyTerminalText =
    u"Ctrl+Alt+1..5 are taken ONLY while a terminal is in front. Every other program keeps them.";
const std::u16string WholeMachineText =
    u"Ctrl+Alt+1..5 are taken from the whole machine while Tarvin runs (HotkeyOnlyOnTerminal is off in " +
    IniPath + u").";

INSTANTIATE_TEST_SUITE_P(
    Settings, MainWindowStartup,
    ::testing::Values(
        TStartupCase{"Defaults", "", KeepsText, OnlyTerminalText},
        TStartupCase{"NoRestore", "[Sending]\r\nRestorePromptAfter=0\r\n", DiscardsText, OnlyTerminalText},
        TStartupCase{"NoClearing", "[Sending]\r\nClearPromptFirst=0\r\nRestorePromptAfter=0\r\n",
                     EmptyPromptText, OnlyTerminalText},
        TStartupCase{"NoClearingButRestore", "[Sending]\r\nClearPromptFirst=0\r\n", EmptyPromptText,
                     OnlyTerminalText},
        TStartupCase{"WholeMachine", "[Target]\r\nHotkeyOnlyOnTerminal=0\r\n", KeepsText, WholeMachineText},
        TStartupCase{"NoRestoreWholeMachine",
                     "[Target]\r\nHotkeyOnlyOnTerminal=0\r\n[Sending]\r\nRestorePromptAfter=0\r\n",
                     DiscardsText, WholeMachineText},
        // Configured hotkeys do not change the lines: they name the default chords.
        TStartupCase{"OwnHotkeys", "[Hotkeys]\r\nlow=F9\r\n", KeepsText, OnlyTerminalText}),
    [](const ::testing::TestParamInfo<TStartupCase>& test) { return std::string(test.param.Name); });

TEST(MainWindowStartup, NamesItsOwnIntegrityLevel) {
    TMainWindowScene scene;
    scene.Sim.Desktop.SetOwnIntegrityLevel(0x3000);
    scene.Start();
    EXPECT_EQ(scene.LogBox().front(), u"Tarvin started. Tarvin itself runs at High (elevated) integrity.");
}

TEST(MainWindowStartup, EachLineCarriesTheLocalTimeAndTwoBlanks) {
    TMainWindowScene scene;
    scene.Sim.Desktop.SetNow(46000.0 + (9 * 3600 + 41 * 60 + 7) / 86400.0);
    scene.Start();
    EXPECT_EQ(scene.Form->mmoLog->Lines()[0],
              u"09:41:07  Tarvin started. Tarvin itself runs at Medium (normal) integrity.");
}

TEST(MainWindowStartup, TheFirstRunStaysVisibleAndItsSettingsHideTheNextStart) {
    std::optional<std::string> ini;
    {
        TMainWindowScene scene;
        scene.Start();
        EXPECT_TRUE(scene.Form->Visible());
        EXPECT_TRUE(scene.Form->TrayIcon->Visible());
        EXPECT_EQ(scene.Form->TrayIcon->Icon(), toolkit::TIcon::ApplicationIcon());
        EXPECT_EQ(scene.Form->tmrEnter->Interval(), 250u);
        EXPECT_FALSE(scene.Form->tmrEnter->Enabled());
        EXPECT_TRUE(scene.Form->tmrFocus->Enabled());

        scene.Form->Close();
        scene.Backend.Step();
        scene.Form = nullptr;
        ini = scene.Ini();
    }
    ASSERT_TRUE(ini.has_value());

    TMainWindowScene next;
    next.WriteIni(*ini);
    next.Start();
    EXPECT_FALSE(next.Form->Visible());
    EXPECT_TRUE(next.Form->TrayIcon->Visible());
}

TEST(MainWindowStartup, TheCheckBoxShowsTheStoredValueWithoutAskingWindows) {
    TMainWindowScene scene;
    scene.WriteIni("[AppData Settings]\r\nAutoStartUp=1\r\n");
    scene.Start();
    EXPECT_TRUE(scene.Form->chkAutoStart->Checked());
    EXPECT_TRUE(scene.Form->StartUpRequests.empty());
}

TEST(MainWindowTray, MinimisingHidesTheWindowAndTheTrayBringsItBackNormal) {
    TMainWindowScene scene;
    TScriptedMainForm& form = scene.Start();
    ASSERT_TRUE(form.Visible());

    EXPECT_EQ(form.Perform(toolkit::msgSysCommand, toolkit::scMinimize | 0x2), 0);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.WindowState(), toolkit::TWindowState::wsNormal);
    EXPECT_TRUE(scene.Backend.DefaultHandled().empty());

    const int fronts = scene.Backend.ApplicationBringToFrontCount();
    form.TrayIcon->Click();
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.WindowState(), toolkit::TWindowState::wsNormal);
    EXPECT_EQ(scene.Backend.ApplicationBringToFrontCount(), fronts + 1);

    form.SetWindowState(toolkit::TWindowState::wsMaximized);
    form.Hide();
    form.TrayIcon->DblClick();
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.WindowState(), toolkit::TWindowState::wsNormal);

    form.Hide();
    form.mnuShow->Click();
    EXPECT_TRUE(form.Visible());
}

TEST(MainWindowTray, OtherSystemCommandsKeepTheirUsualMeaning) {
    TMainWindowScene scene;
    TScriptedMainForm& form = scene.Start();
    form.Perform(toolkit::msgSysCommand, toolkit::scMaximize);
    EXPECT_EQ(form.WindowState(), toolkit::TWindowState::wsMaximized);
    ASSERT_EQ(scene.Backend.DefaultHandled().size(), 1u);
    EXPECT_TRUE(form.Visible());
}

TEST(MainWindowTray, TheBurstWorksWhileTheWindowIsHidden) {
    TMainWindowScene scene;
    scene.WriteIni(LaterRun);
    scene.Start();
    termsim::test::TSimTerminal terminal(scene.Sim.Desktop, scene.Console);
    ASSERT_FALSE(scene.Form->Visible());
    scene.Focus(scene.Console);

    ASSERT_TRUE(scene.Press(u"Ctrl+Alt+4"));
    scene.Advance(3000);

    EXPECT_EQ(terminal.Effort(), u"xhigh");
    const auto lines = scene.LogBox();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        u"Typed \"/effort xhigh\" into ConsoleWindowClass (\"\u2733 Claude Code\")."),
              lines.end());
}

TEST(MainWindowTray, ASecondCopyBringsTheWindowUpAndIsLogged) {
    TMainWindowScene scene;
    scene.WriteIni(LaterRun);
    TScriptedMainForm& form = scene.Start();
    ASSERT_FALSE(form.Visible());

    form.Perform(WM_SHOW_FROM_SECOND_COPY);

    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(scene.LastLogLine(),
              u"A second copy of Tarvin was started. It brought this window up and then closed itself.");
}

TEST(MainWindowTray, AboutButtonAndMenuOpenTheAboutBox) {
    TMainWindowScene scene;
    TScriptedMainForm& form = scene.Start();
    form.btnAbout->Click();
    form.mnuAbout->Click();
    EXPECT_EQ(form.AboutBoxes, 2);
}

struct TAutoStartCase {
    const char* Name;
    bool Stored;
    bool WindowsAgrees;
    bool Beep;
    bool CheckedAfter;
    std::u16string Line;
};

void PrintTo(const TAutoStartCase& Case, std::ostream* os) {
    *os << Case.Name;
}

class MainWindowAutoStart : public ::testing::TestWithParam<TAutoStartCase> {};

TEST_P(MainWindowAutoStart, TheCheckBoxFollowsWindowsAnswer) {
    const TAutoStartCase& c = GetParam();
    TMainWindowScene scene;
    scene.WriteIni(std::string("[AppData Settings]\r\nAutoStartUp=") + (c.Stored ? "1" : "0") +
                   "\r\n[Sending]\r\nBeepOnRefusal=" + (c.Beep ? "1" : "0") + "\r\n");
    TScriptedMainForm& form = scene.Start();
    form.StartUpAnswers.push_back(c.WindowsAgrees);

    form.chkAutoStart->Toggle();

    EXPECT_EQ(form.StartUpRequests, std::vector<bool>{!c.Stored});
    EXPECT_EQ(form.chkAutoStart->Checked(), c.CheckedAfter);
    EXPECT_EQ(scene.AppObject->AutoStartUp, c.CheckedAfter);
    EXPECT_EQ(scene.LastLogLine(), c.Line);
    EXPECT_EQ(scene.Sim.Desktop.Beeps().size(), !c.WindowsAgrees && c.Beep ? 1u : 0u);
    EXPECT_EQ(form.StartUpRequests.size(), 1u) << "putting the box back does not ask again";
}

const std::u16string RefusedEntry =
    u"Windows refused to change the startup entry. An antivirus usually guards that registry key.";

INSTANTIATE_TEST_SUITE_P(
    Answers, MainWindowAutoStart,
    ::testing::Values(TAutoStartCase{"Ticked", false, true, true, true, u"Tarvin will start with Windows."},
                      TAutoStartCase{"Unticked", true, true, true, false,
                                     u"Tarvin will no longer start with Windows."},
                      TAutoStartCase{"TickRefused", false, false, true, false, RefusedEntry},
                      TAutoStartCase{"UntickRefused", true, false, true, true, RefusedEntry},
                      TAutoStartCase{"UntickRefusedSilently", true, false, false, true, RefusedEntry}),
    [](const ::testing::TestParamInfo<TAutoStartCase>& test) { return std::string(test.param.Name); });

TEST(MainWindowLog, TheLogBoxKeepsTheNewestLinesAndTheRamLogAllOfThem) {
    TMainWindowScene scene;
    TScriptedMainForm& form = scene.Start();
    const std::size_t infosBefore = scene.RamLog(lvInfos).size();
    for (int i = 0; i < LogBoxLineLimit + 100; ++i) {
        form.LogLine(u"line " + base::AsciiToUtf16(std::to_string(i)));
    }
    const auto lines = scene.LogBox();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(LogBoxLineLimit));
    EXPECT_EQ(lines.front(), u"line 100") << "the three start-up lines and the first hundred went";
    EXPECT_EQ(lines.back(), u"line 1099");
    EXPECT_EQ(scene.RamLog(lvInfos).size(), infosBefore + LogBoxLineLimit + 100);
}

// The keys of the three settings sections as "Section/key", sorted.
std::vector<std::u16string> SettingsKeys(const orvel::TIniStore& Ini) {
    std::vector<std::u16string> keys;
    for (const char16_t* section : {u"Hotkeys", u"Target", u"Sending"}) {
        for (const std::u16string& key : Ini.Keys(section)) {
            keys.push_back(section + (u"/" + key));
        }
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

const std::vector<std::u16string> AllSettingsKeys = {u"Hotkeys/high",
                                                     u"Hotkeys/low",
                                                     u"Hotkeys/max",
                                                     u"Hotkeys/medium",
                                                     u"Hotkeys/xhigh",
                                                     u"Sending/BeepOnRefusal",
                                                     u"Sending/BlindWhenUnreadable",
                                                     u"Sending/ClearDelayMs",
                                                     u"Sending/ClearPromptFirst",
                                                     u"Sending/EnterCount",
                                                     u"Sending/EnterDelayMs",
                                                     u"Sending/RestorePromptAfter",
                                                     u"Sending/TraceGrip",
                                                     u"Target/AcceptedClasses",
                                                     u"Target/HotkeyOnlyOnTerminal",
                                                     u"Target/RequireTitleMarker"};

TEST(MainWindowShutdown, StopsReleasesThenWritesEverySettingBeforeTheWindowPosition) {
    TMainWindowScene scene;
    scene.WriteIni("[Sending]\r\nBlindWhenUnreadable=1\r\n");
    TScriptedMainForm& form = scene.Start();
    scene.Focus(scene.Console);
    scene.Advance(200);
    ASSERT_TRUE(scene.Press(u"Ctrl+Alt+3"));
    scene.Advance(300);
    ASSERT_EQ(form.Phase(), spClearPrompt);
    const std::size_t sent = scene.Sim.Desktop.InputJournal().size();

    form.mnuExit->Click();
    scene.Backend.Step();
    scene.Form = nullptr;

    EXPECT_TRUE(scene.App.Terminated());
    EXPECT_TRUE(scene.App.Screen().Forms().empty()) << "closing frees the window";
    EXPECT_EQ(scene.Sim.Hotkeys.RegistrationCount(), 0u);
    EXPECT_FALSE(scene.Backend.NextTimerDue().has_value()) << "no timer of the window is left running";
    scene.Backend.AdvanceTime(5000);
    EXPECT_EQ(scene.Sim.Desktop.InputJournal().size(), sent) << "the burst ends with the window";

    const orvel::TIniStore ini = orvel::TIniStore::Parse(scene.Ini().value_or(""));
    EXPECT_EQ(SettingsKeys(ini), AllSettingsKeys);
    const auto sections = ini.Sections();
    const auto position = std::find(sections.begin(), sections.end(), u"MainForm");
    const auto sending = std::find(sections.begin(), sections.end(), u"Sending");
    ASSERT_NE(position, sections.end());
    ASSERT_NE(sending, sections.end());
    EXPECT_LT(sending, position) << "the settings are written before the window position";
    EXPECT_TRUE(scene.RamLog(lvErrors).empty());
}

TEST(MainWindowShutdown, KeepsWhatTheUserEditedWhileRunningAndFillsInTheRest) {
    TMainWindowScene scene;
    scene.WriteIni("[Hotkeys]\r\nlow=Ctrl+Alt+9\r\n");
    TScriptedMainForm& form = scene.Start();
    scene.WriteIni(
        "[Hotkeys]\r\nlow=  Ctrl+Alt+8  \r\n[Sending]\r\nEnterCount=99\r\nClearPromptFirst=false\r\n");

    form.Close();
    scene.Backend.Step();
    scene.Form = nullptr;

    const orvel::TIniStore ini = orvel::TIniStore::Parse(scene.Ini().value_or(""));
    EXPECT_EQ(SettingsKeys(ini), AllSettingsKeys);
    EXPECT_EQ(ini.Get(u"Hotkeys", u"low"), u"Ctrl+Alt+8");
    EXPECT_EQ(ini.Get(u"Hotkeys", u"medium"), u"Ctrl+Alt+2");
    EXPECT_EQ(ini.Get(u"Sending", u"EnterCount"), u"10");
    EXPECT_EQ(ini.Get(u"Sending", u"ClearPromptFirst"), u"1");
}

TEST(MainWindowShutdown, ADeletedFileIsWrittenAgainWithTheDefaults) {
    TMainWindowScene scene;
    scene.WriteIni("[Sending]\r\nEnterCount=5\r\n");
    TScriptedMainForm& form = scene.Start();
    ASSERT_TRUE(scene.Sim.Files.RemoveFile(IniPath).Ok);

    form.Close();
    scene.Backend.Step();
    scene.Form = nullptr;

    const orvel::TIniStore ini = orvel::TIniStore::Parse(scene.Ini().value_or(""));
    EXPECT_EQ(ini.Get(u"Sending", u"EnterCount"), u"3");
}

TEST(MainWindowShutdown, AFileThatCannotBeWrittenIsLoggedAndTheWindowStillCloses) {
    TMainWindowScene scene;
    scene.WriteIni(LaterRun);
    TScriptedMainForm& form = scene.Start();
    scene.Sim.Files.DenyWritesUnder(u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin");

    form.Close();
    scene.Backend.Step();

    EXPECT_TRUE(scene.App.Screen().Forms().empty());
    EXPECT_EQ(scene.RamLog(lvErrors),
              std::vector<std::u16string>{u"Tarvin could not write its settings to " + IniPath +
                                          u": Unable to write to " + IniPath});
    EXPECT_EQ(scene.RamLog(lvWarnings), std::vector<std::u16string>{u"Cannot save INI file: " + IniPath})
        << "the window position comes after the settings";
    const orvel::TAbstractLogLines& lines = scene.AppObject->RamLog->Lines();
    EXPECT_EQ(lines.getItem(lines.Count() - 2)->Level, lvErrors);
    EXPECT_EQ(lines.getItem(lines.Count() - 1)->Level, lvWarnings);
    for (const std::u16string& info : scene.RamLog(lvInfos)) {
        EXPECT_FALSE(info.starts_with(u"Tarvin could not write")) << "the error is no log-box line";
    }
    scene.Form = nullptr;
}

} // namespace
} // namespace tarvin::test
