#include "framework/ui/OrvelVcl.Visual.AppData.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.IniStore.h"
#include "framework/ui/OrvelVcl.Common.LogViewer.h"
#include "framework/ui/OrvelVcl.Common.Translate.h"
#include "platform/sim/Sim.Platform.h"
#include "tests/Test.Support.h"
#include "tests/framework/ui/OrvelVcl.Visual.AppData.Scene.h"
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
    EXPECT_THROW_MSG(Make(), EAssertionFailed, u"AppData already created! Only one instance allowed (Singleton).");
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

// --- the application shell ---

namespace orvel::shell {

using namespace toolkit;
using testing::ExeFolder;
using testing::ExePath;
using testing::IniPath;
using testing::TShellMainForm;

class Shell : public testing::ShellScene {};

TEST_F(Shell, ConstructionSetsTheApplicationUpAndLogsItsStartWithTheVersion) {
    TAppData& app = MakeApplication();
    EXPECT_EQ(App.Title(), u"Tarvin");
    EXPECT_EQ(App.HintColor(), 0xC0C090);
    EXPECT_EQ(App.HintShortPause(), 40);
    EXPECT_FALSE(App.UpdateFormatSettings());
    EXPECT_EQ(App.DefaultFont().Name(), u"Segoe UI");
    EXPECT_EQ(App.DefaultFont().Size(), 10);
    EXPECT_TRUE(App.ShowHint());
    // A first run: the core's defaults reach the application through this class's overrides.
    EXPECT_EQ(app.HideHint(), 4000);
    EXPECT_EQ(App.HintHidePause(), 4000);
    EXPECT_EQ(LogLines(lvVerbose),
              (std::vector<std::u16string>{u"Starting translator...", u"Tarvin v1.4.0 started."}));
}

TEST_F(Shell, LoadedHintSettingsReachTheApplicationAndLaterChangesFollow) {
    ExistingIni("[AppData Settings]\r\nHintType=0\r\nHideHint=1234\r\n");
    TAppData& app = MakeApplication();
    EXPECT_EQ(App.HintHidePause(), 1234);
    EXPECT_TRUE(App.ShowHint()) << "the set-up switches hints on after the settings were loaded";

    app.SetHintType(htOff);
    EXPECT_FALSE(App.ShowHint());
    app.SetHintType(htStatBar);
    EXPECT_TRUE(App.ShowHint());
    app.SetHideHint(700);
    EXPECT_EQ(App.HintHidePause(), 700);
}

TEST_F(Shell, MainFormComesAfterTheHiddenLogWindowWithItsCaptionSettlingOnceShown) {
    MakeApplication();
    TShellMainForm* form = MakeMainForm();

    EXPECT_TRUE(Journal.LogWindowExistedAtConstruction);
    ASSERT_NE(Application->LogWindow(), nullptr);
    EXPECT_FALSE(Application->LogWindow()->Visible());
    EXPECT_EQ(Application->LogWindow()->Owner(), nullptr);
    EXPECT_EQ(App.MainForm(), form);
    EXPECT_EQ(form->Owner(), &App);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->AutoState(), asPosOnly);
    EXPECT_EQ(Journal.CaptionsWhenShown,
              (std::vector<std::u16string>{u"Tarvin  v1.4.0 - Initializing form MainForm"}));
    EXPECT_EQ(form->Caption(), u"Tarvin  v1.4.0");

    EXPECT_EQ(Journal.PostInits, 0) << "queued, not run inside CreateMainForm";
    EXPECT_TRUE(TAppDataCore::Initializing());
    Backend.Step();
    EXPECT_EQ(Journal.PostInits, 1);
    EXPECT_FALSE(TAppDataCore::Initializing());
}

TEST_F(Shell, MainFormLoadsItsSavedPositionUnlessItKeepsNoState) {
    for (const TAutoState state : {asPosOnly, asNone}) {
        SCOPED_TRACE(static_cast<int>(state));
        Application.reset();
        Forget();
        Sim.Files.AddFile(IniPath, "[MainForm]\r\nLeft=300\r\nTop=200\r\nWidth=640\r\nHeight=480\r\n");
        MakeApplication();
        TShellMainForm* form = MakeMainForm(state);
        EXPECT_EQ(form->BoundsRect(),
                  state == asNone ? RectOf(100, 100, 500, 400) : RectOf(300, 200, 640, 480));
        form->Free();
    }
}

TEST_F(Shell, EveryFormGetsTheSharedLook) {
    ExistingIni("[AppData Settings]\r\nOpacity=200\r\nHintType=1\r\n");
    MakeApplication();
    TShellMainForm* form = MakeMainForm();
    form->Font().SetName(u"Verdana");
    Application->SetFont(&form->Font());
    auto* other = Application->CreateForm<TOrvelForm>(false, asNone);

    for (TForm* each : {static_cast<TForm*>(form), static_cast<TForm*>(other),
                        static_cast<TForm*>(Application->LogWindow())}) {
        SCOPED_TRACE(std::string(each->Name().begin(), each->Name().end()));
        EXPECT_TRUE(each->ShowHint());
        EXPECT_EQ(each->SnapBuffer(), 4) << "Windows 10 snaps windows itself";
        EXPECT_TRUE(each->AlphaBlend());
        EXPECT_EQ(each->AlphaBlendValue(), 200);
        EXPECT_EQ(each->Font().Name(), u"Verdana") << "the shared font, also given to forms made before";
    }
    EXPECT_EQ(Application->Font(), &form->Font());
}

TEST_F(Shell, OpacityFromAHandEditedFileIsClampedAndOpaqueFormsAreNotBlended) {
    const struct {
        const char* Value;
        int Opacity;
        bool Blended;
    } cases[] = {{"300", 255, false}, {"-5", 0, true}, {"255", 255, false}, {"128", 128, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        Application.reset();
        Forget();
        Sim.Files.AddFile(IniPath, std::string("[AppData Settings]\r\nOpacity=") + c.Value + "\r\n");
        MakeApplication();
        EXPECT_EQ(Application->Opacity, c.Opacity);
        Application->Opacity = 100000; // set by the program itself: clamped all the same
        Application->Opacity = c.Opacity;
        TShellMainForm* form = MakeMainForm();
        EXPECT_EQ(form->AlphaBlendValue(), c.Opacity);
        EXPECT_EQ(form->AlphaBlend(), c.Blended);
        form->Free();
    }
}

TEST_F(Shell, ProgramSetOpacityOutsideTheRangeIsClampedWhenApplied) {
    MakeApplication();
    Application->Opacity = 1000;
    TShellMainForm* form = MakeMainForm();
    EXPECT_EQ(form->AlphaBlendValue(), 255);
    EXPECT_FALSE(form->AlphaBlend());
}

TEST_F(Shell, SnapDistanceStaysTheFormsOwnBeforeWindows8) {
    Sim.Versions.SetOsVersion({6, 1});
    MakeApplication();
    TShellMainForm* form = MakeMainForm();
    EXPECT_EQ(form->SnapBuffer(), TForm(App).SnapBuffer());
}

TEST_F(Shell, StartingMinimisedShowsNoMainFormAndMinimisesTheApplication) {
    ExistingIni("[AppData Settings]\r\nStartMinim=1\r\n");
    MakeApplication();
    TShellMainForm* form = MakeMainForm();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(App.Minimized());
    EXPECT_EQ(Backend.ApplicationMinimizeCount(), 1);
    EXPECT_EQ(form->Caption(), u"Tarvin  v1.4.0");
}

TEST_F(Shell, MinimizeRemembersToStartMinimised) {
    ExistingIni();
    TAppData& app = MakeApplication();
    EXPECT_FALSE(app.StartMinim);
    app.Minimize();
    EXPECT_TRUE(App.Minimized());
    EXPECT_TRUE(app.StartMinim);
}

// Misuse is a programming error; each says what went wrong.
TEST_F(Shell, MisuseRaisesWithItsMessage) {
    MakeApplication();
    EXPECT_THROW_MSG(Application->CreateForm<TOrvelForm>(false, asNone), EOrvelException, u"Probably you forgot to create the main form with AppData.CreateMainForm!");
    EXPECT_THROW_MSG(Application->CreateMainForm<TfrmRamLog>(asPosOnly), EOrvelException, u"Sanity check! The Log should not be the MainForm!");
    EXPECT_EQ(App.MainForm(), nullptr) << "nothing was made";

    MakeMainForm();
    EXPECT_THROW_MSG(MakeMainForm(), EOrvelException, u"MainForm already exists!");
    EXPECT_THROW_MSG(TAppData second(u"Tarvin", u"TarvinWndClass", false, Os, App), EOrvelException, u"AppData already created! Only one instance allowed (Singleton).");
}

TEST_F(Shell, SharedFontSetBeforeTheMainFormIsMisuse) {
    MakeApplication();
    TFont font;
    Application->SetFont(&font);
    EXPECT_THROW_MSG(MakeMainForm(), EAssertionFailed, u"AppData.Font already assigned!");
}

TEST_F(Shell, FormBeforeTheMainFormIsAllowedWhenAskedFor) {
    MakeApplication();
    auto* early = Application->CreateForm<TOrvelForm>(true, asNone, nullptr, false, true);
    EXPECT_EQ(early->Owner(), &App);
    EXPECT_TRUE(early->Visible());
    EXPECT_EQ(App.MainForm(), nullptr) << "an early form does not become the main form";
}

TEST_F(Shell, ParentedFormIsPlacedAndCentredInsideItsOwner) {
    MakeApplication();
    TShellMainForm* mainForm = MakeMainForm();
    auto* inner = Application->CreateForm<TOrvelForm>(false, asNone, mainForm, true);
    inner->SetBounds(0, 0, 100, 50);
    EXPECT_EQ(inner->Owner(), mainForm);
    EXPECT_EQ(inner->Parent(), mainForm);
    auto* centred = Application->CreateForm<TOrvelForm>(false, asNone, mainForm, true);
    EXPECT_EQ(centred->Left(), (mainForm->ClientWidth() - centred->Width()) / 2 < 0
                                   ? 0
                                   : (mainForm->ClientWidth() - centred->Width()) / 2);
}

TEST_F(Shell, LogWindowIsCreatedOnceAndShownOnEveryLaterRequest) {
    MakeApplication();
    TfrmRamLog* window = Application->FormLog();
    EXPECT_FALSE(window->Visible());
    EXPECT_EQ(window->Log->RamLog(), Application->RamLog.get()) << "linked to the application's log";
    EXPECT_FALSE(window->Log->OwnsRamLog());
    EXPECT_EQ(Application->FormLog(), window);
    EXPECT_TRUE(window->Visible());
}

TEST_F(Shell, LogWindowFirstAskedForAfterAMainFormTakesItsFont) {
    MakeApplication();
    auto* mainForm = App.CreateForm<TShellMainForm>(Journal);
    mainForm->Font().SetName(u"Verdana");
    EXPECT_EQ(Application->FormLog()->Font().Name(), u"Verdana");
}

// --- first run ---

TEST_F(Shell, FirstRunRegistersTheProgramOnceWithoutAnUninstallEntryItCannotHonour) {
    MakeApplication();
    MakeMainForm();
    const auto value = [this](const std::u16string& Key, const std::u16string& Name) {
        return Sim.Registry.Value(platform::TRegistryRoot::CurrentUser, Key, Name);
    };
    EXPECT_EQ(value(u"Software\\Halvorn\\Tarvin", u"App data path"), testing::DataFolder);
    EXPECT_EQ(value(u"Software\\Halvorn\\Tarvin", u"Install path"), ExeFolder);
    EXPECT_FALSE(Sim.Registry.KeyExists(platform::TRegistryRoot::CurrentUser,
                                        u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvin"))
        << "no Uninstall.exe beside the program: Windows would list an entry whose uninstall fails";
}

TEST_F(Shell, FirstRunWritesTheUninstallEntryWhenAnUninstallerShipsBesideTheProgram) {
    Sim.Files.AddFile(ExeFolder + u"Uninstall.exe", "MZ");
    MakeApplication();
    MakeMainForm();
    const std::u16string key = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvin";
    EXPECT_EQ(Sim.Registry.Value(platform::TRegistryRoot::CurrentUser, key, u"DisplayName"), u"Tarvin");
    EXPECT_EQ(Sim.Registry.Value(platform::TRegistryRoot::CurrentUser, key, u"UninstallString"),
              ExeFolder + u"Uninstall.exe");
}

TEST_F(Shell, LaterRunsRegisterNothing) {
    ExistingIni();
    MakeApplication();
    MakeMainForm();
    EXPECT_EQ(Sim.Registry.KeyCount(), 0u);
}

TEST_F(Shell, RefusedRegistryDoesNotStopTheFirstRun) {
    Sim.Registry.FailValueWrites(platform::sim::TSimRegistry::AccessDenied);
    MakeApplication();
    EXPECT_NO_THROW(MakeMainForm());
    const std::vector<std::u16string> warnings = LogLines(lvWarnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind(u"First-run registration failed: ", 0), 0u) << "at the start of the line";
}

// --- single instance ---

TEST_F(Shell, SecondCopyFindsAHiddenWindowOfTheClassOrTheFirstCopysMutex) {
    const std::u16string mutexName = u"TarvinWndClass.SingleInstance";
    const struct {
        const char* Case;
        bool Window;
        bool Mutex;
        bool Running;
    } cases[] = {{"nothing runs", false, false, false},
                 {"a first copy hidden in the tray", true, true, true},
                 {"a first copy still starting, no window yet", false, true, true},
                 {"an older copy that takes no mutex", true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        Application.reset();
        Forget();
        platform::sim::TSimPlatform sim;
        platform::TServices os = sim.Services();
        if (c.Window) {
            // The sim desktop has no visibility: a window of a hidden program is found the same way.
            sim.WindowControl.AddWindow(u"TarvinWndClass", u"Tarvin", 4242, 7);
        }
        if (c.Mutex) {
            sim.Mutexes.HoldElsewhere(mutexName);
        }
        Application = std::make_unique<TAppData>(u"Tarvin", u"TarvinWndClass", false, os, App);
        EXPECT_EQ(Application->InstanceRunning(), c.Running);
        EXPECT_EQ(sim.Mutexes.HeldHere(mutexName), !c.Mutex) << "taken whenever it was free";
        Application.reset();
        EXPECT_FALSE(sim.Mutexes.HeldHere(mutexName)) << "let go with the application object";
    }
}

TEST_F(Shell, CopyThatGoesOnRefusesOneStartedAMomentLater) {
    MakeApplication();
    ASSERT_FALSE(Application->InstanceRunning());
    // The second copy asks before this one has a window: the mutex alone answers.
    EXPECT_EQ(Sim.Mutexes.Claim(TAppData::InstanceMutexName(u"TarvinWndClass")).State,
              platform::TMutexClaimState::HeldElsewhere);
}

TEST_F(Shell, RefusedMutexFallsBackOnTheWindowSearch) {
    Sim.Mutexes.RefuseClaims(5);
    MakeApplication();
    EXPECT_FALSE(Application->InstanceRunning());
    EXPECT_EQ(
        LogLines(lvWarnings),
        (std::vector<std::u16string>{u"The single-instance mutex could not be created (system error 5)."}));
    Sim.WindowControl.AddWindow(u"TarvinWndClass", u"Tarvin", 4242, 7);
    EXPECT_TRUE(Application->InstanceRunning());
}

TEST_F(Shell, MutexNameComesFromTheClassNameWithoutBackslashes) {
    EXPECT_EQ(TAppData::InstanceMutexName(u"TarvinWndClass"), u"TarvinWndClass.SingleInstance");
    EXPECT_EQ(TAppData::InstanceMutexName(u"My\\Class"), u"My_Class.SingleInstance");
}

TEST_F(Shell, MainWindowClassIsTheSingleInstanceNameCutTo255Characters) {
    MakeApplication();
    TCreateParams params;
    Application->SetSingleInstanceName(params);
    EXPECT_EQ(params.WinClassName, u"TarvinWndClass");

    Application.reset();
    Forget();
    const std::u16string longName(300, u'W');
    Application = std::make_unique<TAppData>(u"Tarvin", longName, false, Os, App);
    Application->SetSingleInstanceName(params);
    EXPECT_EQ(params.WinClassName, longName.substr(0, 255));
}

// --- start-up entry ---

TEST_F(Shell, StartUpEntryIsAddedAsTheQuotedPathAndRemovedAgain) {
    MakeApplication();
    const std::u16string runKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const auto entry = [&] {
        return Sim.Registry.Value(platform::TRegistryRoot::CurrentUser, runKey, u"Tarvin");
    };

    EXPECT_TRUE(Application->RunSelfAtStartUp(true));
    EXPECT_EQ(entry(), u"\"C:\\Program Files\\Tarvin\\Tarvin.exe\"");
    EXPECT_TRUE(Application->RunSelfAtStartUp(false));
    EXPECT_EQ(entry(), std::nullopt);
    EXPECT_TRUE(Application->RunSelfAtStartUp(false)) << "a missing value is no failure";
    EXPECT_EQ(Sim.Registry.OpenKeyCount(), 0u) << "the key is closed every time";
}

TEST_F(Shell, StartUpEntryAnswersFalseWhenTheSystemRefusesOrThePathNamesNoFile) {
    MakeApplication();
    EXPECT_FALSE(Application->RunFileAtStartUp(u"", true)) << "would be the key's default value";
    EXPECT_FALSE(Application->RunFileAtStartUp(u"C:\\Tools\\", true));

    Sim.Registry.FailValueWrites(platform::sim::TSimRegistry::AccessDenied);
    EXPECT_FALSE(Application->RunSelfAtStartUp(true));
    Sim.Registry.FailValueWrites(0);
    Sim.Registry.DenyWrite(platform::TRegistryRoot::CurrentUser, u"Software\\Microsoft");
    EXPECT_FALSE(Application->RunSelfAtStartUp(true));
    EXPECT_FALSE(Application->RunSelfAtStartUp(false));
}

TEST_F(Shell, VersionTextsOfTheRunningExecutable) {
    MakeApplication();
    EXPECT_EQ(TAppData::GetVersionInfo(true), u"1.4.0.17");
    EXPECT_EQ(TAppData::GetVersionInfo(false), u"1.4.0");
    EXPECT_EQ(TAppData::GetVersionInfoV(), u" v1.4.0");
    Sim.Files.SetExecutablePath(u"C:\\Program Files\\Tarvin\\Other.exe");
    EXPECT_EQ(TAppData::GetVersionInfo(true), u"N/A");
}

// --- the end ---

class TFailingForm : public TOrvelForm {
public:
    explicit TFailingForm(TComponent* AOwner) : TOrvelForm(AOwner) { SetName(u"frmBroken"); }
    std::u16string ClassName() const override { return u"TFailingForm"; }
    void FormPreRelease() override { throw EIniFileException(u"Unable to write to X.ini"); }
};

// Notes its name when it is saved, and the error lines the log holds at that moment.
class TWitnessForm : public TOrvelForm {
public:
    TWitnessForm(TComponent* AOwner, std::vector<std::u16string>& Saved, std::vector<std::u16string>& Errors,
                 std::u16string AName)
        : TOrvelForm(AOwner), FSaved(Saved), FErrors(Errors) {
        SetName(std::move(AName));
        SetBounds(10, 20, 300, 200);
    }
    void FormPreRelease() override {
        FSaved.push_back(Name());
        const TAbstractLogLines& lines = AppData->RamLog->Lines();
        for (int i = 0; i < lines.Count(); ++i) {
            if (lines.getItem(i)->Level == lvErrors) {
                FErrors.push_back(lines.getItem(i)->Msg);
            }
        }
        TOrvelForm::FormPreRelease();
    }

private:
    std::vector<std::u16string>& FSaved;
    std::vector<std::u16string>& FErrors;
};

TEST_F(Shell, DestroySavesEveryFormLastFirstLogsOneThatFailsThenSavesTheSettings) {
    MakeApplication();
    MakeMainForm();
    std::vector<std::u16string> saved;
    std::vector<std::u16string> errorsSeen;
    const auto make = [&](const std::u16string& Name) {
        auto* form = NewForm<TWitnessForm>(static_cast<TComponent*>(&App), saved, errorsSeen, Name);
        form->SetAutoState(asPosOnly);
    };
    make(u"frmFirst");
    NewForm<TFailingForm>(static_cast<TComponent*>(&App));
    make(u"frmLast");
    Backend.Step(); // the main form's post-initialization ends the start-up phase

    Application.reset();
    EXPECT_EQ(saved, (std::vector<std::u16string>{u"frmLast", u"frmFirst"}));
    EXPECT_EQ(errorsSeen,
              (std::vector<std::u16string>{u"TAppData.Destroy: saveBeforeExit failed for frmBroken "
                                           u"(TFailingForm): EIniFileException - Unable to write "
                                           u"to X.ini"}))
        << "frmFirst, saved after the broken form, saw its error in the log";
    EXPECT_EQ(IniValue(u"frmLast", u"Width"), u"300");
    EXPECT_EQ(IniValue(u"MainForm", u"Width"), u"500");
    EXPECT_EQ(IniValue(u"AppData Settings", u"Opacity"), u"250") << "then the framework settings";
    EXPECT_EQ(IniValue(u"Log Settings", u"Verbosity"), u"2") << "the log window saved its options";
    EXPECT_EQ(AppData, nullptr);
    EXPECT_EQ(AppDataCore, nullptr);
}

} // namespace orvel::shell
