#include "framework/ui/OrvelVcl.Visual.AppData.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.IniStore.h"
#include "framework/ui/OrvelVcl.Common.Translate.h"
#include "platform/sim/Sim.Platform.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/headless/Headless.Backend.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace orvel {
namespace {

const std::u16string AppFolder = u"C:\\Program Files\\Tarvin\\";
const std::u16string IniPath = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\Tarvin.ini";

class AppDataTest : public ::testing::Test {
protected:
    void SetUp() override { Forget(); }
    void TearDown() override { Forget(); }
    static void Forget() {
        TAppDataCore::ClearIdentity();
        TAppDataCore::ResetConstructionFlagForTests();
        AppDataCore = nullptr;
    }
    std::unique_ptr<TAppData> Make() {
        return std::make_unique<TAppData>(u"Tarvin", u"TarvinWndClass", false, Os, App);
    }

    platform::sim::TSimPlatform Sim;
    platform::TServices Os = Sim.Services();
    toolkit::headless::THeadlessBackend Backend{Sim};
    toolkit::TApplication App{Backend, Sim.MainThread};
};

TEST_F(AppDataTest, ObjectIsPublishedWhileItLivesAndOwnsTheTranslator) {
    auto application = Make();
    EXPECT_EQ(AppData, application.get());
    EXPECT_EQ(AppDataCore, application.get());
    EXPECT_EQ(&application->Application(), &App);
    ASSERT_NE(application->Translator, nullptr);
    EXPECT_EQ(application->Translator->CurLanguage(), AppFolder + u"Lang\\English.ini");
    application.reset();
    EXPECT_EQ(AppData, nullptr);
    EXPECT_EQ(AppDataCore, nullptr);
}

TEST_F(AppDataTest, SecondObjectFailsItsAssertionBeforeTouchingTheCore) {
    auto first = Make();
    try {
        Make();
        ADD_FAILURE() << "no assertion failed";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), u"AppData already created! Only one instance allowed (Singleton).");
    }
    EXPECT_EQ(AppData, first.get());
    EXPECT_EQ(AppDataCore, first.get());
}

TEST_F(AppDataTest, RememberedLanguageIsAppliedExceptOnTheDevelopersMachine) {
    for (const bool home : {false, true}) {
        SCOPED_TRACE(home);
        Forget();
        Sim.Files.AddFile(IniPath, "[Translator]\r\nLast_Language=German.ini\r\n");
        Sim.Files.AddFile(AppFolder + u"Lang\\German.ini", "[Authors]\r\nName=Kestro\r\n");
        if (home) {
            Sim.Files.AddFile(AppFolder + u"RunningHome", "");
        }
        auto application = Make();
        EXPECT_EQ(application->Translator->LastLanguage, home ? u"" : u"German.ini");
    }
}

TEST_F(AppDataTest, FreeingTheObjectRemembersTheLanguage) {
    auto application = Make();
    application->Translator->SetCurLanguage(AppFolder + u"Lang\\No_Language");
    application.reset();
    const auto bytes = Sim.Files.Contents(IniPath);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(TIniStore::Parse(*bytes).Get(u"Translator", u"Last_Language"), u"No_Language");
}

TEST_F(AppDataTest, VersionTextForCaptions) {
    Sim.Versions.SetFileVersion(AppFolder + u"Tarvin.exe", {0x00020001, 0x00000003});
    auto application = Make();
    EXPECT_EQ(TAppData::GetVersionInfoV(), u" v2.1.0");
}

} // namespace
} // namespace orvel
