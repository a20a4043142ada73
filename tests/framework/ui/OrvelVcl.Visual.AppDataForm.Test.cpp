#include "framework/ui/OrvelVcl.Visual.AppDataForm.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.IniStore.h"
#include "framework/ui/OrvelVcl.Visual.AppData.h"
#include "platform/sim/Sim.Platform.h"
#include "tests/Test.Support.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/headless/Headless.Backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

namespace orvel {
namespace {

using namespace toolkit;

const std::u16string ExePath = u"C:\\Program Files\\Tarvin\\Tarvin.exe";
const std::u16string LangFolder = u"C:\\Program Files\\Tarvin\\Lang\\";
const std::u16string DataFolder = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\";
const std::u16string IniPath = DataFolder + u"Tarvin.ini";

// What happened to one form; kept outside the form so that it survives the form's destruction.
struct TJournal {
    int PostInits = 0;
    int PreReleases = 0;
    int Saves = 0;
};

class TJournaledForm : public TOrvelForm {
public:
    TJournaledForm(TComponent* AOwner, TAutoState State, TJournal& Journal, const std::u16string& AName)
        : TOrvelForm(AOwner, State), FJournal(Journal) {
        SetName(AName);
        SetBounds(100, 100, 400, 300);
    }
    void FormPostInitialize() override {
        TOrvelForm::FormPostInitialize();
        ++FJournal.PostInits;
    }
    void FormPreRelease() override {
        ++FJournal.PreReleases;
        if (FailPreRelease) {
            throw EOrvelException(u"pre-release failed");
        }
        TOrvelForm::FormPreRelease();
    }
    void SaveForm() override {
        ++FJournal.Saves;
        TOrvelForm::SaveForm();
    }

    bool FailPreRelease = false;

private:
    TJournal& FJournal;
};

// A fresh process with the application object, still in its start-up phase.
class FormBase : public ::testing::Test {
protected:
    void SetUp() override {
        Forget();
        Sim.Versions.SetFileVersion(ExePath, {0x00020001, 0x00000000});
        Application = std::make_unique<TAppData>(u"Tarvin", u"TarvinWndClass", false, Os, App);
    }
    // The forms go while the application object lives: destroying one may save it.
    void TearDown() override {
        while (!App.Screen().Forms().empty()) {
            App.Screen().Forms().back()->Free();
        }
        Application.reset();
        Forget();
    }
    static void Forget() {
        TAppDataCore::ClearIdentity();
        TAppDataCore::ResetConstructionFlagForTests();
        AppDataCore = nullptr;
    }
    // The journals belong to the fixture, since forms left open are destroyed in TearDown.
    TJournaledForm* NewMain(TAutoState State = asPosOnly) {
        return App.CreateForm<TJournaledForm>(State, MainJournal, std::u16string(u"MainForm"));
    }
    TJournaledForm* NewOther(TAutoState State = asPosOnly) {
        return NewForm<TJournaledForm>(static_cast<TComponent*>(&App), State, OtherJournal,
                                       std::u16string(u"frmOther"));
    }
    bool SectionSaved(const std::u16string& Section) {
        const auto bytes = Sim.Files.Contents(IniPath);
        return bytes && TIniStore::Parse(*bytes).SectionExists(Section);
    }
    bool Logged(TLogVerbLvl Level, const std::u16string& Msg) {
        const TAbstractLogLines& lines = Application->RamLog->Lines();
        for (int i = 0; i < lines.Count(); ++i) {
            if (lines.getItem(i)->Level == Level && lines.getItem(i)->Msg == Msg) {
                return true;
            }
        }
        return false;
    }

    TJournal MainJournal;
    TJournal OtherJournal;
    platform::sim::TSimPlatform Sim;
    platform::TServices Os = Sim.Services();
    headless::THeadlessBackend Backend{Sim};
    TApplication App{Backend, Sim.MainThread};
    std::unique_ptr<TAppData> Application;
};

TEST_F(FormBase, ConstructorWithAutoStateSnapsShowsHintsAndKeepsItsPosition) {
    TJournaledForm* form = NewOther(asFull);
    EXPECT_EQ(form->AutoState(), asFull);
    EXPECT_TRUE(form->ScreenSnap());
    EXPECT_TRUE(form->ShowHint());
    EXPECT_EQ(form->Position(), TPosition::poDesigned);
    EXPECT_FALSE(form->PostInitDone());
    EXPECT_FALSE(form->FormSaved());
    EXPECT_FALSE(form->SavingInProgress());

    TOrvelForm* plain = NewForm<TOrvelForm>(static_cast<TComponent*>(&App));
    EXPECT_EQ(plain->AutoState(), asUndefined);
    EXPECT_FALSE(plain->ScreenSnap());
    EXPECT_NE(plain->Position(), TPosition::poDesigned);
}

TEST_F(FormBase, OnlyFormsOtherThanTheMainFormAreCentredWhenLoaded) {
    TJournaledForm* mainForm = NewMain();
    EXPECT_EQ(mainForm->BoundsRect(), RectOf(100, 100, 400, 300));
    TJournaledForm* other = NewOther();
    EXPECT_EQ(other->BoundsRect(), RectOf(760, 370, 400, 300));
}

TEST_F(FormBase, QueuedPostInitializationRunsFromTheLoopOnceAndEndsTheStartUp) {
    Sim.Files.AddFile(LangFolder + u"English.ini", "[MainForm]\r\nMainForm.Hint=Translated\r\n");
    TJournaledForm* mainForm = NewMain();
    mainForm->SchedulePostInitialize();
    EXPECT_EQ(MainJournal.PostInits, 0) << "never inside the call";
    EXPECT_TRUE(TAppDataCore::Initializing());

    Backend.Step();
    EXPECT_EQ(MainJournal.PostInits, 1);
    EXPECT_TRUE(mainForm->PostInitDone());
    EXPECT_FALSE(TAppDataCore::Initializing());
    EXPECT_EQ(mainForm->Hint(), u"Translated");

    mainForm->PostMessage(WM_POST_INITIALIZE);
    Backend.Step();
    mainForm->Perform(WM_POST_INITIALIZE);
    EXPECT_EQ(MainJournal.PostInits, 1);
    EXPECT_TRUE(Backend.DefaultHandled().empty()) << "the form handles its own message";
}

TEST_F(FormBase, PostedRequestBeforeTheQueuedCallRunsTheStepOnce) {
    TJournaledForm* mainForm = NewMain();
    mainForm->SchedulePostInitialize();
    mainForm->Perform(WM_POST_INITIALIZE);
    EXPECT_EQ(MainJournal.PostInits, 1);
    Backend.Step();
    EXPECT_EQ(MainJournal.PostInits, 1);
}

TEST_F(FormBase, PostInitializationOfAnotherFormLeavesTheStartUpPhase) {
    NewMain();
    TJournaledForm* other = NewOther();
    other->Perform(WM_POST_INITIALIZE);
    EXPECT_EQ(OtherJournal.PostInits, 1);
    EXPECT_TRUE(TAppDataCore::Initializing());
}

TEST_F(FormBase, FormClosedTwiceAfterShowingAgainIsSavedOnce) {
    TAppDataCore::EndInitialization();
    TJournaledForm* form = NewOther();
    form->Show();
    form->Close();
    EXPECT_EQ(OtherJournal.PreReleases, 1);
    EXPECT_EQ(OtherJournal.Saves, 1);
    EXPECT_TRUE(form->FormSaved());
    EXPECT_TRUE(SectionSaved(u"frmOther"));
    const std::size_t writes = Sim.Files.WriteCount();

    form->Show();
    form->Close();
    form->Free();
    EXPECT_EQ(OtherJournal.PreReleases, 1);
    EXPECT_EQ(OtherJournal.Saves, 1);
    EXPECT_EQ(Sim.Files.WriteCount(), writes);
}

TEST_F(FormBase, FormThatKeepsNoStateGetsItsPreReleaseButNoIniWrite) {
    TAppDataCore::EndInitialization();
    for (const TAutoState state : {asNone, asUndefined}) {
        SCOPED_TRACE(static_cast<int>(state));
        OtherJournal = {};
        TJournaledForm* form = NewOther(state);
        form->Close();
        EXPECT_EQ(OtherJournal.PreReleases, 1);
        EXPECT_EQ(OtherJournal.Saves, 0);
        EXPECT_TRUE(form->FormSaved());
        EXPECT_FALSE(SectionSaved(u"frmOther"));
        form->Free();
    }
}

TEST_F(FormBase, MainWindowClosedBeforeItsPostInitializationSavesNothing) {
    TJournaledForm* mainForm = NewMain();
    mainForm->SchedulePostInitialize();
    mainForm->Close();
    EXPECT_TRUE(App.Terminated());
    EXPECT_EQ(MainJournal.PreReleases, 0);
    EXPECT_EQ(MainJournal.Saves, 0);
    EXPECT_FALSE(mainForm->FormSaved());
    EXPECT_FALSE(SectionSaved(u"MainForm"));

    // Once the start-up phase is over, a later request still saves.
    TAppDataCore::EndInitialization();
    mainForm->saveBeforeExit();
    EXPECT_EQ(MainJournal.Saves, 1);
    EXPECT_TRUE(SectionSaved(u"MainForm"));
}

TEST_F(FormBase, RefusedCloseQuerySavesNothing) {
    TAppDataCore::EndInitialization();
    TJournaledForm* form = NewOther();
    bool allow = false;
    form->OnCloseQuery = [&](TComponent*, bool& CanClose) { CanClose = allow; };
    EXPECT_FALSE(form->CloseQuery());
    EXPECT_EQ(OtherJournal.PreReleases, 0);
    allow = true;
    EXPECT_TRUE(form->CloseQuery());
    EXPECT_EQ(OtherJournal.Saves, 1);
}

TEST_F(FormBase, CloseThatFreesTheFormSavesIt) {
    TAppDataCore::EndInitialization();
    struct TCase {
        TCloseAction Action;
        int Saves;
    };
    const TCase cases[] = {{TCloseAction::caNone, 0},
                           {TCloseAction::caHide, 0},
                           {TCloseAction::caMinimize, 0},
                           {TCloseAction::caFree, 1}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Action));
        OtherJournal = {};
        TJournaledForm* form = NewOther();
        form->OnClose = [&](TComponent*, TCloseAction& Action) { Action = c.Action; };
        TCloseAction action = TCloseAction::caHide;
        form->DoClose(action);
        EXPECT_EQ(OtherJournal.Saves, c.Saves);
        EXPECT_EQ(OtherJournal.PreReleases, c.Saves);
        form->Free();
    }
}

TEST_F(FormBase, EndOfTheSessionSavesOnlyWhenTheSessionReallyEnds) {
    TAppDataCore::EndInitialization();
    TJournaledForm* form = NewOther();
    form->Perform(msgEndSession, 0);
    EXPECT_EQ(OtherJournal.Saves, 0);
    ASSERT_EQ(Backend.DefaultHandled().size(), 1U);
    form->Perform(msgEndSession, 1);
    EXPECT_EQ(OtherJournal.Saves, 1);
    ASSERT_EQ(Backend.DefaultHandled().size(), 2U);
    EXPECT_EQ(Backend.DefaultHandled()[1].Msg, msgEndSession);
    EXPECT_EQ(Backend.DefaultHandled()[1].WParam, 1U);
}

TEST_F(FormBase, DestroyedFormDropsItsQueuedPostInitializationAndSaves) {
    TAppDataCore::EndInitialization();
    TJournaledForm* form = NewOther();
    form->SchedulePostInitialize();
    form->Free();
    EXPECT_EQ(OtherJournal.Saves, 1);
    EXPECT_EQ(Backend.Step(), 0U);
    EXPECT_EQ(OtherJournal.PostInits, 0);
}

TEST_F(FormBase, FailingPreReleaseStillMarksTheFormSavedAndReachesTheCaller) {
    TAppDataCore::EndInitialization();
    TJournaledForm* form = NewOther();
    form->FailPreRelease = true;
    EXPECT_THROW(form->saveBeforeExit(), EOrvelException);
    EXPECT_TRUE(form->FormSaved());
    EXPECT_EQ(OtherJournal.Saves, 0);
    form->saveBeforeExit();
    EXPECT_EQ(OtherJournal.PreReleases, 1) << "no second attempt";
}

TEST_F(FormBase, RefusedIniWriteIsOnlyAWarning) {
    TAppDataCore::EndInitialization();
    TJournaledForm* form = NewOther();
    Sim.Files.DenyWritesUnder(DataFolder);
    EXPECT_NO_THROW(form->saveBeforeExit());
    EXPECT_TRUE(form->FormSaved());
    EXPECT_TRUE(Logged(lvWarnings, u"Cannot save INI file: " + IniPath));
}

TEST_F(FormBase, LoadedPositionIsPulledInsideTheDesktop) {
    Sim.Files.AddFile(IniPath,
                      "[frmOther]\r\nWindowState=0\r\nTop=200\r\nLeft=-500\r\nWidth=500\r\nHeight=350\r\n");
    TJournaledForm* form = NewOther();
    form->LoadForm();
    EXPECT_EQ(form->BoundsRect(), RectOf(0, 200, 500, 350));
}

TEST_F(FormBase, MainFormCaptionShowsNameVersionAndStatus) {
    TJournaledForm* mainForm = NewMain();
    TJournaledForm* other = NewOther();
    other->SetCaption(u"Other");
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"", u"Tarvin  v2.1.0"},
        {u"Initializing form MainForm", u"Tarvin  v2.1.0 - Initializing form MainForm"},
    };
    for (const auto& [status, caption] : cases) {
        other->MainFormCaption(status);
        EXPECT_EQ(mainForm->Caption(), caption);
        EXPECT_EQ(other->Caption(), u"Other");
    }
}

TEST_F(FormBase, MainFormCaptionBeforeTheMainFormExistsFailsItsAssertion) {
    TJournaledForm* form = NewOther();
    EXPECT_THROW_MSG(form->MainFormCaption(u""), EAssertionFailed,
                     u"MainFormCaption called before the main form exists!");
}

} // namespace
} // namespace orvel
