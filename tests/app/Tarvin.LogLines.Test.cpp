// The lines the target check and the keystroke sender write reach the application's in-memory log.
#include "app/Tarvin.Sender.h"
#include "app/Tarvin.Settings.h"
#include "app/Tarvin.Target.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.LogRam.h"
#include "platform/sim/Sim.Platform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarvin {
namespace {

class AppLogLines : public ::testing::Test {
protected:
    void SetUp() override {
        Forget();
        Core = std::make_unique<orvel::TAppDataCore>(u"Tarvin", u"TarvinWndClass", false, Os);
        orvel::AppDataCore = Core.get();
        Core->RamLog->ShowOnError = false; // no observer here; keep the lines only
        Core->RamLog->Clear();
    }
    void TearDown() override {
        orvel::AppDataCore = nullptr;
        Core.reset();
        Forget();
    }
    static void Forget() {
        orvel::TAppDataCore::ClearIdentity();
        orvel::TAppDataCore::ResetConstructionFlagForTests();
        orvel::AppDataCore = nullptr;
    }
    orvel::TAbstractLogLines& Lines() { return Core->RamLog->Lines(); }

    platform::sim::TSimPlatform Sim;
    platform::TServices Os = Sim.Services();
    std::unique_ptr<orvel::TAppDataCore> Core;
};

TEST_F(AppLogLines, UnreachableTargetWritesOneWarningLine) {
    TSettings settings;
    const auto console = Sim.Desktop.AddWindow(u"ConsoleWindowClass", u"✳ Claude Code", 77);
    Sim.Desktop.AddUnreachableProcess(77);
    Sim.Desktop.SetForeground(console);

    TTargetInfo info;
    CheckForegroundTarget(Sim.Desktop, Sim.Desktop, &settings.FAcceptedClasses, &settings.FTitleMarkers,
                          settings.RequireTitleMarker, info);

    EXPECT_EQ(info.Verdict, tvUnreachable);
    ASSERT_EQ(Lines().Count(), 1);
    EXPECT_EQ(Lines().Items(0)->Level, orvel::lvWarnings);
    EXPECT_EQ(Lines().Items(0)->Msg, u"Tarvin.Target: cannot read the integrity level of PID 77");
}

TEST_F(AppLogLines, RefusalsOtherThanUnreachableLogNothing) {
    TSettings settings;
    Sim.Desktop.SetForeground(Sim.Desktop.AddWindow(u"Notepad", u"x", 5));
    TTargetInfo info;
    CheckForegroundTarget(Sim.Desktop, Sim.Desktop, &settings.FAcceptedClasses, &settings.FTitleMarkers,
                          settings.RequireTitleMarker, info);
    EXPECT_EQ(info.Verdict, tvWrongClass);
    EXPECT_EQ(Lines().Count(), 0);
}

TEST_F(AppLogLines, ShortSendWritesOneErrorLineWithTheNumbers) {
    Sim.Desktop.LimitInput(2, 5);
    EXPECT_FALSE(SendSucceeded(SendCtrlU(Sim.Desktop)));

    ASSERT_EQ(Lines().Count(), 1);
    EXPECT_EQ(Lines().Items(0)->Level, orvel::lvErrors);
    EXPECT_EQ(Lines().Items(0)->Msg, u"Tarvin.Sender: SendInput delivered 2 of 4 events. Windows error 5");
}

TEST_F(AppLogLines, CompleteAndEmptySendsLogNothing) {
    EXPECT_TRUE(SendSucceeded(SendEnter(Sim.Desktop)));
    EXPECT_FALSE(SendSucceeded(SendText(Sim.Desktop, u"")));
    EXPECT_EQ(Lines().Count(), 0);
}

TEST_F(AppLogLines, SettingsValuesThatDoNotTakeSayWhyInOneWarningEach) {
    struct TCase {
        const char* Name;
        std::string Text;
        std::vector<std::u16string> Warnings;
    };
    const std::vector<TCase> cases = {
        {"not a number",
         "[Sending]\r\nEnterCount=abc\r\n",
         {u"Tarvin.Settings: [Sending] EnterCount=abc is not a number; using 3"}},
        {"out of range",
         "[Sending]\r\nEnterCount=99\r\nEnterDelayMs=10\r\n",
         {u"Tarvin.Settings: [Sending] EnterCount=99 is outside 1 to 10; using 10",
          u"Tarvin.Settings: [Sending] EnterDelayMs=10 is outside 50 to 5000; using 50"}},
        {"Boolean that is no number",
         "[Target]\r\nRequireTitleMarker=yes\r\n[Sending]\r\nClearPromptFirst=false\r\n",
         {u"Tarvin.Settings: [Target] RequireTitleMarker=yes is not 0 or 1; using 0",
          u"Tarvin.Settings: [Sending] ClearPromptFirst=false is not 0 or 1; using 1"}},
        {"not a shortcut",
         "[Hotkeys]\r\nmedium=  Ctrl+Alt+Q+ \r\n",
         {u"Tarvin.Settings: [Hotkeys] medium=Ctrl+Alt+Q+ is not a shortcut; the \"medium\" level has no "
          u"hotkey"}},
        {"quoted value shown as written",
         "[Sending]\r\nClearDelayMs=\"1000\"\r\n",
         {u"Tarvin.Settings: [Sending] ClearDelayMs=\"1000\" is outside 20 to 500; using 500"}},
        {"values that take, blanks and missing keys",
         "[Hotkeys]\r\nlow=\r\nhigh=\"Ctrl+Alt+9\"\r\n[Sending]\r\n"
         "EnterCount=10\r\nTraceGrip=2\r\nClearDelayMs=\r\n",
         {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Core->RamLog->Clear();
        Sim.Files.AddFile(u"C:\\Cfg\\Tarvin.ini", c.Text);
        TSettings settings;
        settings.Load(u"C:\\Cfg\\Tarvin.ini", Sim.Files);

        std::vector<std::u16string> lines;
        for (int i = 0; i < Lines().Count(); ++i) {
            EXPECT_EQ(Lines().Items(i)->Level, orvel::lvWarnings);
            lines.push_back(Lines().Items(i)->Msg);
        }
        EXPECT_EQ(lines, c.Warnings);
    }
}

} // namespace
} // namespace tarvin
