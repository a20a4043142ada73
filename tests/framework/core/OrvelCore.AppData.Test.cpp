#include "framework/core/OrvelCore.AppData.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "platform/sim/Sim.Platform.h"
#include "tests/Test.Support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace orvel {
namespace {

const std::u16string ExeFolder = u"C:\\Program Files\\Tarvin\\";
const std::u16string Roaming = u"C:\\Users\\dev\\AppData\\Roaming\\";

// Each test starts and ends without an identity, as a fresh process would.
class AppIdentity : public ::testing::Test {
protected:
    void SetUp() override { TAppDataCore::ClearIdentity(); }
    void TearDown() override { TAppDataCore::ClearIdentity(); }

    void Establish(const std::u16string& name = u"Tarvin") {
        TAppDataCore::EstablishIdentity(name, Sim.Services());
    }

    platform::sim::TSimPlatform Sim;
};

TEST_F(AppIdentity, QueriesBeforeEstablishingFailTheirAssertion) {
    EXPECT_THROW_MSG(TAppDataCore::AppName(), EAssertionFailed, u"AppName is empty! Ensure TAppDataCore.Create was called.");
    EXPECT_THROW_MSG(TAppDataCore::IniFile(), EAssertionFailed, u"AppName is empty! Ensure TAppDataCore.Create was called.");
    EXPECT_THROW(TAppDataCore::AppFolder(), EAssertionFailed);
    EXPECT_FALSE(TAppDataCore::Portable());
}

TEST_F(AppIdentity, EmptyNameFailsItsAssertion) {
    EXPECT_THROW_MSG(Establish(u""), EAssertionFailed, u"AppName is empty!");
}

TEST_F(AppIdentity, NameWithCharactersNotAllowedInFileNameFailsAndIsNotStored) {
    const std::vector<std::u16string> names = {u"Tar\"vin", u"Tar<vin",  u"Tar>vin",  u"Tar|vin", u"Tar?vin",
                                               u"Tar*vin",  u"Tar\tvin", u"Tar\\vin", u"Tar/vin", u"Tar:vin"};
    for (const auto& name : names) {
        SCOPED_TRACE(base::Utf16ToUtf8(name));
        EXPECT_THROW_MSG(Establish(name), EAssertionFailed, u"Invalid chars in AppName: " + name);
        EXPECT_THROW(TAppDataCore::AppName(), EAssertionFailed);
    }
}

TEST_F(AppIdentity, RoamingModeKeepsDataInUsersApplicationData) {
    Establish();
    EXPECT_EQ(TAppDataCore::AppName(), u"Tarvin");
    EXPECT_FALSE(TAppDataCore::Portable());
    EXPECT_EQ(TAppDataCore::AppFolder(), ExeFolder);
    EXPECT_EQ(TAppDataCore::AppSysDir(), ExeFolder + u"System\\");
    EXPECT_EQ(TAppDataCore::AppDataFolder(false), Roaming + u"Tarvin\\");
    EXPECT_EQ(TAppDataCore::IniFile(), Roaming + u"Tarvin\\Tarvin.ini");
}

TEST_F(AppIdentity, AppDataFolderWithoutForceNeverCreates) {
    Establish();
    TAppDataCore::AppDataFolder(false);
    TAppDataCore::IniFile();
    EXPECT_FALSE(Sim.Files.FolderExists(Roaming + u"Tarvin", true));
}

TEST_F(AppIdentity, AppDataFolderWithForceCreatesFolderWithParents) {
    Sim.Files.SetRoamingAppDataFolder(u"D:\\Profiles\\dev\\Roaming");
    Sim.Files.AddFolder(u"D:\\");
    Establish();
    EXPECT_EQ(TAppDataCore::AppDataFolder(true), u"D:\\Profiles\\dev\\Roaming\\Tarvin\\");
    EXPECT_TRUE(Sim.Files.FolderExists(u"D:\\Profiles\\dev\\Roaming\\Tarvin", true));
}

TEST_F(AppIdentity, AppDataFolderWithForceReportsNoFailureToCreate) {
    Sim.Files.DenyWritesUnder(Roaming);
    Establish();
    EXPECT_EQ(TAppDataCore::AppDataFolder(true), Roaming + u"Tarvin\\");
    EXPECT_FALSE(Sim.Files.FolderExists(Roaming + u"Tarvin", true));
}

TEST_F(AppIdentity, UnknownRoamingFolderRaisesInsteadOfGivingRelativePath) {
    Sim.Files.SetRoamingAppDataFolder(u"");
    Establish();
    EXPECT_THROW(TAppDataCore::AppDataFolder(false), EOrvelException);
    EXPECT_THROW(TAppDataCore::IniFile(), EOrvelException);
}

TEST_F(AppIdentity, PortableMarkerBesideExecutableKeepsEverythingThere) {
    Sim.Files.AddFile(ExeFolder + u"portable.marker", "");
    Establish();
    EXPECT_TRUE(TAppDataCore::Portable());
    EXPECT_EQ(TAppDataCore::AppDataFolder(true), ExeFolder);
    EXPECT_EQ(TAppDataCore::IniFile(), ExeFolder + u"Tarvin.ini");
    EXPECT_FALSE(Sim.Files.FolderExists(Roaming + u"Tarvin", true));
}

TEST_F(AppIdentity, PortableModeIsDecidedOnceWhenEstablishing) {
    Establish();
    Sim.Files.AddFile(ExeFolder + u"portable.marker", "");
    EXPECT_FALSE(TAppDataCore::Portable());
    EXPECT_EQ(TAppDataCore::IniFile(), Roaming + u"Tarvin\\Tarvin.ini");
}

TEST_F(AppIdentity, FolderNamedLikeMarkerDoesNotMakePortable) {
    Sim.Files.AddFolder(ExeFolder + u"portable.marker");
    Establish();
    EXPECT_FALSE(TAppDataCore::Portable());
}

TEST_F(AppIdentity, RunningHomeLooksForProjectFileOrMarkerBesideExecutable) {
    struct TCase {
        std::u16string ExePath;
        std::u16string File; // empty: none
        bool Expected;
    };
    const std::vector<TCase> cases = {
        {u"C:\\Program Files\\Tarvin\\Tarvin.exe", u"", false},
        {u"C:\\Program Files\\Tarvin\\Tarvin.exe", u"C:\\Program Files\\Tarvin\\Tarvin.dpr", true},
        {u"C:\\Program Files\\Tarvin\\Tarvin.exe", u"C:\\Program Files\\Tarvin\\RunningHome", true},
        {u"C:\\Program Files\\Tarvin\\Tarvin.exe", u"C:\\Program Files\\Tarvin\\Other.dpr", false},
        {u"C:\\Program Files\\Tarvin\\Tarvin.exe", u"C:\\Program Files\\RunningHome", false},
        {u"C:\\Dev.Build\\Tool", u"C:\\Dev.Build\\Tool.dpr", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(c.ExePath + u" / " + c.File));
        TAppDataCore::ClearIdentity();
        platform::sim::TSimPlatform sim;
        sim.Files.SetExecutablePath(c.ExePath);
        if (!c.File.empty()) {
            sim.Files.AddFile(c.File, "");
        }
        TAppDataCore::EstablishIdentity(u"Tarvin", sim.Services());
        EXPECT_EQ(TAppDataCore::RunningHome(), c.Expected);
        TAppDataCore::ClearIdentity();
    }
}

TEST_F(AppIdentity, ClearIdentityForgetsNameAndPortableMode) {
    Sim.Files.AddFile(ExeFolder + u"portable.marker", "");
    Establish();
    TAppDataCore::ClearIdentity();
    EXPECT_THROW(TAppDataCore::AppName(), EAssertionFailed);
    EXPECT_FALSE(TAppDataCore::Portable());
}

// Every facade call, for checking that none of them needs a core or a log to exist.
void LogThroughEveryCall() {
    TAppDataCore::LogVerb(u"verbose");
    TAppDataCore::LogHint(u"hint");
    TAppDataCore::LogInfo(u"info");
    TAppDataCore::LogMsg(u"message");
    TAppDataCore::LogBold(u"bold");
    TAppDataCore::LogImpo(u"important");
    TAppDataCore::LogWarn(u"warning");
    TAppDataCore::LogError(u"error");
    TAppDataCore::LogEmptyRow();
    TAppDataCore::LogClear();
}

TEST(LoggingFacade, DoesNothingWithoutCore) {
    ASSERT_EQ(AppDataCore, nullptr);
    EXPECT_NO_THROW(LogThroughEveryCall());
}

TEST(LoggingFacade, DoesNothingWhileCoreHasNoLog) {
    TAppDataCore core;
    AppDataCore = &core;
    EXPECT_NO_THROW(LogThroughEveryCall());
    AppDataCore = nullptr;
}

} // namespace
} // namespace orvel
