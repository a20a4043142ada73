// The lines the target check and the keystroke sender write reach the application's in-memory log.
#include "app/Tarvin.Sender.h"
#include "app/Tarvin.Settings.h"
#include "app/Tarvin.Target.h"
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.LogRam.h"
#include "platform/sim/Sim.Platform.h"

#include <gtest/gtest.h>

#include <memory>

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

} // namespace
} // namespace tarvin
