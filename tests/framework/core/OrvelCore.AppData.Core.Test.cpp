#include "framework/core/OrvelCore.AppData.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.INIFile.h"
#include "platform/sim/Sim.Platform.h"
#include "tests/Test.Support.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace orvel {
namespace {

const std::u16string ExeFolder = u"C:\\Program Files\\Tarvin\\";
const std::u16string DataFolder = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\";
const std::u16string IniPath = DataFolder + u"Tarvin.ini";
const std::u16string Documents = u"C:\\Users\\dev\\Documents\\";

// Each test runs as a fresh process would: no identity, no core constructed yet, no facade target.
class AppDataCoreTest : public ::testing::Test {
protected:
    void SetUp() override { Forget(); }
    void TearDown() override {
        AppDataCore = nullptr;
        Forget();
    }
    static void Forget() {
        TAppDataCore::ClearIdentity();
        TAppDataCore::ResetConstructionFlagForTests();
        AppDataCore = nullptr;
    }
    std::unique_ptr<TAppDataCore> MakeCore(const std::u16string& WindowClassName = u"TarvinWndClass") {
        return std::make_unique<TAppDataCore>(u"Tarvin", WindowClassName, false, Os);
    }
    // Ends this "process" and starts another on the same simulated machine.
    std::unique_ptr<TAppDataCore> Restart(std::unique_ptr<TAppDataCore>& Core) {
        Core.reset();
        Forget();
        return MakeCore();
    }

    platform::sim::TSimPlatform Sim;
    platform::TServices Os = Sim.Services();
};

TEST_F(AppDataCoreTest, FirstRunWithoutIniFileGetsTheFirstRunDefaults) {
    auto core = MakeCore();
    EXPECT_TRUE(core->RunningFirstTime());
    EXPECT_TRUE(Sim.Files.FolderExists(DataFolder, true));
    EXPECT_EQ(core->Opacity, 250);
    EXPECT_TRUE(core->Minimize2Tray);
    EXPECT_FALSE(core->AutoStartUp);
    EXPECT_FALSE(core->StartMinim);
    EXPECT_EQ(core->HintType(), htTooltips);
    EXPECT_EQ(core->HideHint(), 4000);
    EXPECT_TRUE(core->ShowLogOnError());
    ASSERT_NE(core->RamLog, nullptr);
    EXPECT_TRUE(core->RamLog->ShowOnError);
    EXPECT_EQ(core->UserPath, DataFolder);
    EXPECT_EQ(core->SingleInstClassName(), u"TarvinWndClass");
    EXPECT_FALSE(core->CompanyName.empty());
    EXPECT_FALSE(core->ProductHome.empty());
}

TEST_F(AppDataCoreTest, IniFileWithoutTheSectionGetsTheMissingKeyDefaults) {
    Sim.Files.AddFile(IniPath, "[Hotkeys]\r\nLow=Ctrl+Alt+1\r\n");
    auto core = MakeCore();
    EXPECT_FALSE(core->RunningFirstTime());
    EXPECT_EQ(core->Opacity, 255);
    EXPECT_FALSE(core->Minimize2Tray);
    EXPECT_EQ(core->HintType(), htOff);
    EXPECT_EQ(core->HideHint(), 2500);
    EXPECT_TRUE(core->ShowLogOnError());
    EXPECT_TRUE(core->RamLog->ShowOnError);
    EXPECT_EQ(core->UserPath, DataFolder);
    EXPECT_TRUE(core->LastFile.empty());
}

TEST_F(AppDataCoreTest, StoredSettingsAreLoaded) {
    Sim.Files.AddFile(IniPath, "[AppData Settings]\r\nAutoStartUp=1\r\nStartMinim=1\r\nMinimize2Tray=1\r\n"
                               "Opacity=200\r\nShowOnError=0\r\nHintType=2\r\nHideHint=1234\r\n"
                               "LastFile=C:\\a.txt\r\nLastFolder=C:\\Work\r\nUserPath=D:\\Mine\\\r\n");
    auto core = MakeCore();
    EXPECT_TRUE(core->AutoStartUp);
    EXPECT_TRUE(core->StartMinim);
    EXPECT_TRUE(core->Minimize2Tray);
    EXPECT_EQ(core->Opacity, 200);
    EXPECT_FALSE(core->ShowLogOnError());
    EXPECT_FALSE(core->RamLog->ShowOnError);
    EXPECT_EQ(core->HintType(), htStatBar);
    EXPECT_EQ(core->HideHint(), 1234);
    EXPECT_EQ(core->LastFile, u"C:\\a.txt");
    EXPECT_EQ(core->UserPath, u"D:\\Mine\\");
}

TEST_F(AppDataCoreTest, HintTypeOutsideTheEnumerationCountsAsMissing) {
    Sim.Files.AddFile(IniPath, "[AppData Settings]\r\nHintType=7\r\n");
    EXPECT_EQ(MakeCore()->HintType(), htOff);
}

TEST_F(AppDataCoreTest, SettingsAreSavedAtDestructionAndReadByTheNextRun) {
    auto core = MakeCore();
    core->Opacity = 180;
    core->AutoStartUp = true;
    core->SetHintType(htStatBar);
    core->SetHideHint(777);
    core->SetShowLogOnError(false);
    core->LastFile = u"C:\\x.log";
    core->SetLastUsedFolder(u"C:\\Projects");
    core = Restart(core);
    EXPECT_FALSE(core->RunningFirstTime());
    EXPECT_EQ(core->Opacity, 180);
    EXPECT_TRUE(core->AutoStartUp);
    EXPECT_TRUE(core->Minimize2Tray); // the first run's value, saved
    EXPECT_EQ(core->HintType(), htStatBar);
    EXPECT_EQ(core->HideHint(), 777);
    EXPECT_FALSE(core->ShowLogOnError());
    EXPECT_EQ(core->LastFile, u"C:\\x.log");
    EXPECT_EQ(core->UserPath, DataFolder);
    const std::string ini = *Sim.Files.Contents(IniPath);
    EXPECT_NE(ini.find("[AppData Settings]"), std::string::npos);
    EXPECT_NE(ini.find("LastFolder=C:\\Projects"), std::string::npos);
}

TEST_F(AppDataCoreTest, RefusedSettingsWriteAtDestructionIsReportedNotThrown) {
    auto core = MakeCore();
    Sim.Files.DenyWritesUnder(DataFolder);
    EXPECT_NO_THROW(core.reset());
    ASSERT_EQ(Sim.Desktop.DebugLines().size(), 1u);
    EXPECT_EQ(Sim.Desktop.DebugLines()[0].rfind(u"TAppDataCore: settings not saved: ", 0), 0u);
}

TEST_F(AppDataCoreTest, SecondCoreInOneProcessIsRefused) {
    auto core = MakeCore();
    EXPECT_THROW_MSG(MakeCore(), EOrvelException, u"Error! AppDataCore already constructed!");
    // The refusal stands even after the first core is gone.
    core.reset();
    EXPECT_THROW(MakeCore(), EOrvelException);
}

TEST_F(AppDataCoreTest, BadApplicationNamesFailTheirAssertions) {
    EXPECT_THROW_MSG(TAppDataCore core(u"", u"", false, Os), EAssertionFailed, u"AppName is empty!");
    TAppDataCore::ResetConstructionFlagForTests();
    EXPECT_THROW_MSG(TAppDataCore core(u"Tar|vin", u"", false, Os), EAssertionFailed, u"Invalid chars in AppName: Tar|vin");
}

TEST_F(AppDataCoreTest, EmptyWindowClassNameMeansTheApplicationName) {
    EXPECT_EQ(MakeCore(u"")->SingleInstClassName(), u"Tarvin");
}

TEST_F(AppDataCoreTest, PortableMarkerKeepsTheIniFileBesideTheExecutable) {
    Sim.Files.AddFile(ExeFolder + u"portable.marker", "");
    auto core = MakeCore();
    EXPECT_TRUE(TAppDataCore::Portable());
    EXPECT_EQ(TAppDataCore::IniFile(), ExeFolder + u"Tarvin.ini");
    EXPECT_EQ(core->UserPath, ExeFolder);
    core.reset();
    EXPECT_TRUE(Sim.Files.FileExists(ExeFolder + u"Tarvin.ini"));
    EXPECT_FALSE(Sim.Files.FolderExists(DataFolder, true));
}

TEST_F(AppDataCoreTest, InitializingLastsFromConstructionUntilEndInitialization) {
    TAppDataCore::EndInitialization();
    auto core = MakeCore();
    EXPECT_TRUE(TAppDataCore::Initializing());
    TAppDataCore::EndInitialization();
    EXPECT_FALSE(TAppDataCore::Initializing());
    // Only a flag here: the core's own settings still save at destruction.
    core.reset();
    EXPECT_TRUE(Sim.Files.FileExists(IniPath));
}

TEST_F(AppDataCoreTest, LastUsedFolderFallsBackToDocuments) {
    auto core = MakeCore();
    EXPECT_EQ(core->LastUsedFolder(), Documents);
    Sim.Files.AddFolder(u"C:\\Work\\Current");
    core->SetLastUsedFolder(u"C:\\Work\\Current");
    EXPECT_EQ(core->LastUsedFolder(), u"C:\\Work\\Current");
    Sim.Files.RemoveFolder(u"C:\\Work\\Current");
    EXPECT_EQ(core->GetLastUsedFolder(), Documents);
}

TEST_F(AppDataCoreTest, ShowLogOnErrorSwitchesTheRamLog) {
    auto core = MakeCore();
    core->SetShowLogOnError(false);
    EXPECT_FALSE(core->RamLog->ShowOnError);
    core->SetShowLogOnError(true);
    EXPECT_TRUE(core->RamLog->ShowOnError);
}

// --- the logging facade ---

TEST_F(AppDataCoreTest, FacadeCallsReachTheCoresLog) {
    struct TCase {
        std::function<void()> Log;
        std::u16string Msg;
        TLogVerbLvl Level;
        bool Bold;
    };
    const std::vector<TCase> cases = {
        {[] { TAppDataCore::LogVerb(u"v"); }, u"v", lvVerbose, false},
        {[] { TAppDataCore::LogHint(u"h"); }, u"h", lvHints, false},
        {[] { TAppDataCore::LogInfo(u"i"); }, u"i", lvInfos, false},
        {[] { TAppDataCore::LogMsg(u"m"); }, u"m", lvInfos, false},
        {[] { TAppDataCore::LogBold(u"b"); }, u"b", lvInfos, true},
        {[] { TAppDataCore::LogImpo(u"p"); }, u"p", lvImportant, false},
        {[] { TAppDataCore::LogWarn(u"w"); }, u"w", lvWarnings, false},
        {[] { TAppDataCore::LogError(u"e"); }, u"e", lvErrors, false},
        {[] { TAppDataCore::LogEmptyRow(); }, u"", lvInfos, false},
    };
    auto core = MakeCore();
    AppDataCore = core.get();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        cases[i].Log();
        ASSERT_EQ(core->RamLog->Count(false, lvDebug), static_cast<int>(i + 1));
        const PLogLine line = core->RamLog->Lines().Items(static_cast<int>(i));
        EXPECT_EQ(line->Msg, cases[i].Msg) << i;
        EXPECT_EQ(line->Level, cases[i].Level) << i;
        EXPECT_EQ(line->Bold, cases[i].Bold) << i;
    }
    TAppDataCore::LogClear();
    EXPECT_EQ(core->RamLog->Count(false, lvDebug), 0);
}

TEST_F(AppDataCoreTest, FacadeDoesNothingBeforeTheCoreAndAfterItIsFreed) {
    EXPECT_NO_THROW(TAppDataCore::LogWarn(u"too early"));
    auto core = MakeCore();
    AppDataCore = core.get();
    core.reset();
    EXPECT_EQ(AppDataCore, nullptr);
    EXPECT_NO_THROW(TAppDataCore::LogError(u"too late"));
}

} // namespace
} // namespace orvel
