#include "tests/toolkit/Toolkit.Scene.h"
#include "toolkit/Toolkit.Exceptions.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.Timer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace toolkit::testing {
namespace {

using ::testing::ElementsAre;

// Writes every step of its life into a journal; the close answers and action are set by the test.
class TJournalForm : public TForm {
public:
    TJournalForm(TComponent* AOwner, std::vector<std::string>& Journal) : TForm(AOwner), FJournal(Journal) {
        FJournal.push_back(Loading() ? "constructed while loading" : "constructed");
        OnCreate = [this](TComponent*) { FJournal.push_back("OnCreate"); };
    }
    ~TJournalForm() override { FJournal.push_back("destructor"); }

    bool AllowClose = true;
    TCloseAction ActionToSet = TCloseAction::caHide;

    void Loaded() override { FJournal.push_back(Loading() ? "Loaded while loading" : "Loaded"); }
    bool CloseQuery() override {
        FJournal.push_back("CloseQuery");
        return AllowClose && TForm::CloseQuery();
    }
    void DoClose(TCloseAction& Action) override {
        FJournal.push_back(Action == TCloseAction::caHide ? "DoClose(caHide)" : "DoClose(other)");
        Action = ActionToSet;
        TForm::DoClose(Action);
    }
    void DoDestroy() override {
        FJournal.push_back("DoDestroy");
        TForm::DoDestroy();
    }

private:
    std::vector<std::string>& FJournal;
};

TEST(FormLife, ConstructionRunsLoadedThenOnCreate) {
    std::vector<std::string> journal; // outlives the forms
    TScene scene;
    auto* form = scene.App.CreateForm<TJournalForm>(journal);

    EXPECT_THAT(journal, ElementsAre("constructed while loading", "Loaded", "OnCreate"));
    EXPECT_FALSE(form->Visible());
    EXPECT_THAT(scene.App.Screen().Forms(), ElementsAre(form));
}

TEST(FormLife, FreeRunsDoDestroyBeforeTheDestructorAndLeavesTheScreen) {
    std::vector<std::string> journal; // outlives the forms
    TScene scene;
    auto* first = scene.App.CreateForm<TForm>();
    auto* form = scene.App.CreateForm<TJournalForm>(journal);
    auto* third = NewForm<TForm>(scene.App);
    ASSERT_THAT(scene.App.Screen().Forms(), ElementsAre(first, form, third));
    journal.clear();

    form->Free();

    EXPECT_THAT(journal, ElementsAre("DoDestroy", "destructor"));
    EXPECT_THAT(scene.App.Screen().Forms(), ElementsAre(first, third));
}

TEST(FormClose, ActionsOnAFormThatIsNotTheMainForm) {
    struct TCase {
        TCloseAction Action;
        bool Visible;
        TWindowState State;
        bool FreedAfterStep;
    };
    const TCase cases[] = {
        {TCloseAction::caNone, true, TWindowState::wsNormal, false},
        {TCloseAction::caHide, false, TWindowState::wsNormal, false},
        {TCloseAction::caMinimize, true, TWindowState::wsMinimized, false},
        {TCloseAction::caFree, true, TWindowState::wsNormal, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Action));
        std::vector<std::string> journal; // outlives the forms
        TScene scene;
        scene.App.CreateForm<TForm>(); // the main form
        auto* form = scene.App.CreateForm<TJournalForm>(journal);
        form->Show();
        form->ActionToSet = c.Action;
        journal.clear();

        form->Close();

        EXPECT_THAT(journal, ElementsAre("CloseQuery", "DoClose(caHide)"));
        EXPECT_FALSE(scene.App.Terminated());
        EXPECT_EQ(form->Visible(), c.Visible);
        EXPECT_EQ(form->WindowState(), c.State);
        // A released form lives until the loop runs its queued Free.
        scene.Backend.Step();
        if (c.FreedAfterStep) {
            EXPECT_THAT(journal, ElementsAre("CloseQuery", "DoClose(caHide)", "DoDestroy", "destructor"));
            EXPECT_EQ(scene.App.Screen().FormCount(), 1);
        } else {
            EXPECT_EQ(scene.App.Screen().FormCount(), 2);
        }
    }
}

TEST(FormClose, RefusedCloseQueryStopsEverything) {
    std::vector<std::string> journal; // outlives the forms
    TScene scene;
    auto* form = scene.App.CreateForm<TJournalForm>(journal);
    form->Show();
    form->AllowClose = false;
    journal.clear();

    form->Close();

    EXPECT_THAT(journal, ElementsAre("CloseQuery"));
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(scene.App.Terminated());
}

TEST(FormClose, ClosingTheMainFormTerminatesAndFreesOnlyForCaFree) {
    for (TCloseAction action : {TCloseAction::caHide, TCloseAction::caMinimize, TCloseAction::caFree}) {
        SCOPED_TRACE(static_cast<int>(action));
        std::vector<std::string> journal; // outlives the forms
        TScene scene;
        auto* form = scene.App.CreateForm<TJournalForm>(journal);
        form->ActionToSet = action;
        journal.clear();

        form->Close();
        EXPECT_TRUE(scene.App.Terminated());
        scene.Backend.Step();

        if (action == TCloseAction::caFree) {
            EXPECT_EQ(scene.App.MainForm(), nullptr);
            EXPECT_THAT(journal, ElementsAre("CloseQuery", "DoClose(caHide)", "DoDestroy", "destructor"));
        } else {
            EXPECT_EQ(scene.App.MainForm(), form);
            EXPECT_THAT(journal, ElementsAre("CloseQuery", "DoClose(caHide)"));
        }
    }
}

TEST(FormRelease, QueuedCallsOfAFreedFormNeverRun) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    int ran = 0;
    scene.App.Queue([&ran] { ++ran; }, form);
    scene.App.Queue([&ran] { ran += 10; });
    form->Release();
    form->Release(); // the second Free is dropped with the form

    EXPECT_EQ(scene.Backend.Step(), 3u);
    EXPECT_EQ(ran, 11);
    EXPECT_EQ(scene.App.Screen().FormCount(), 0);

    auto* other = scene.App.CreateForm<TForm>();
    other->Release();
    scene.App.Queue([&ran] { ran += 100; }, other);
    other->Free(); // freed before the loop ran: its queued Free and call go with it
    EXPECT_EQ(scene.Backend.Step(), 0u);
    EXPECT_EQ(ran, 11);
}

// Handles the hot-key message itself and leaves the rest to the inherited dispatch.
class THotKeyForm : public TForm {
public:
    using TForm::TForm;
    std::vector<std::uintptr_t> HotKeys;
    void Dispatch(TMessage& Msg) override {
        if (Msg.Msg == msgHotKey) {
            HotKeys.push_back(Msg.WParam);
            Msg.Result = 1;
            return;
        }
        TForm::Dispatch(Msg);
    }
};

TEST(FormMessages, DerivedFormHandlesItsMessageAndPassesTheRestOn) {
    TScene scene;
    auto* form = scene.App.CreateForm<THotKeyForm>();

    EXPECT_EQ(form->Perform(msgHotKey, 7), 1);
    EXPECT_EQ(form->Perform(msgUser + 1, 2, 3), 0);

    EXPECT_THAT(form->HotKeys, ElementsAre(7u));
    ASSERT_EQ(scene.Backend.DefaultHandled().size(), 1u);
    EXPECT_EQ(scene.Backend.DefaultHandled()[0].Msg, msgUser + 1);
    EXPECT_EQ(scene.Backend.DefaultHandled()[0].LParam, 3);
}

TEST(FormMessages, PostedMessagesArriveOnStepInOrder) {
    TScene scene;
    auto* form = scene.App.CreateForm<THotKeyForm>();
    form->PostMessage(msgHotKey, 1);
    scene.App.Queue([form] { form->PostMessage(msgHotKey, 3); });
    form->PostMessage(msgHotKey, 2);
    EXPECT_TRUE(form->HotKeys.empty());

    EXPECT_EQ(scene.Backend.Step(), 4u);

    EXPECT_THAT(form->HotKeys, ElementsAre(1u, 2u, 3u));
}

TEST(FormMessages, MessagesPostedToAFreedFormAreDropped) {
    TScene scene;
    auto* form = scene.App.CreateForm<THotKeyForm>();
    form->PostMessage(msgHotKey, 1);
    form->Free();
    EXPECT_EQ(scene.Backend.Step(), 0u);
}

TEST(FormMessages, SystemCommandsChangeTheWindowStateOrClose) {
    TScene scene;
    scene.App.CreateForm<TForm>();
    auto* form = scene.App.CreateForm<TForm>();
    form->Show();
    bool closeAsked = false;
    form->OnClose = [&](TComponent*, TCloseAction&) { closeAsked = true; };

    form->Perform(msgSysCommand, scMinimize);
    EXPECT_EQ(form->WindowState(), TWindowState::wsMinimized);
    form->Perform(msgSysCommand, scMaximize | 2); // the low bits belong to the system
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    form->Perform(msgSysCommand, scRestore);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    form->Perform(msgSysCommand, scClose);
    EXPECT_TRUE(closeAsked);
    EXPECT_FALSE(form->Visible());
}

// A control that takes typed characters.
class TKeyTaker : public TControl {
public:
    using TControl::TControl;
    std::u16string Typed;
    void KeyPress(char16_t& Key) override { Typed.push_back(Key); }
};

TEST(FormKeys, KeyPreviewLetsTheFormSeeAndSwallowKeysFirst) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    auto* edit = new TKeyTaker(form);
    edit->SetParent(form);
    std::u16string seenByForm;
    form->OnKeyPress = [&](TComponent*, char16_t& Key) {
        seenByForm.push_back(Key);
        if (Key == u'x') {
            Key = 0;
        }
    };
    auto type = [form](char16_t Key) { form->KeyPress(Key); };

    type(u'a'); // no focused control: the form itself
    form->SetActiveControl(edit);
    type(u'b'); // the focused control only
    form->SetKeyPreview(true);
    type(u'c');
    type(u'x'); // swallowed by the form

    EXPECT_EQ(seenByForm, u"acx");
    EXPECT_EQ(edit->Typed, u"bc");

    edit->Free();
    EXPECT_EQ(form->ActiveControl(), nullptr);
    auto* elsewhere = new TKeyTaker(form);
    EXPECT_THROW(form->SetActiveControl(elsewhere), EInvalidOperation);
}

TEST(FormModal, ShowModalReturnsTheResultSetDuringItsLoop) {
    TScene scene;
    auto* main = scene.App.CreateForm<TForm>();
    auto* dialog = scene.App.CreateForm<TForm>();
    auto* timer = new TTimer(dialog);
    timer->SetInterval(500);
    timer->OnTimer = [dialog](TComponent*) { dialog->SetModalResult(mrOk); };
    bool shownModal = false;
    dialog->OnShow = [&](TComponent*) { shownModal = dialog->Modal(); };
    const std::uint64_t start = scene.Backend.NowMs();

    EXPECT_EQ(dialog->ShowModal(), mrOk);

    EXPECT_TRUE(shownModal);
    EXPECT_EQ(scene.Backend.NowMs() - start, 500u);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(dialog->Modal());
    EXPECT_FALSE(main->Visible());
}

TEST(FormModal, CloseQueryCanKeepTheModalFormOpen) {
    TScene scene;
    auto* dialog = scene.App.CreateForm<TForm>();
    int asked = 0;
    dialog->OnCloseQuery = [&](TComponent*, bool& CanClose) { CanClose = ++asked > 1; };
    auto* timer = new TTimer(dialog);
    timer->SetInterval(100);
    // Close() of a modal form only sets the result; the first answer keeps it open.
    timer->OnTimer = [dialog](TComponent*) { dialog->Close(); };

    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(asked, 2);
}

TEST(FormModal, MisuseAndAnEndlessWaitRaise) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
    form->Hide();

    // Nothing could ever set a result: the headless loop says so instead of hanging.
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Modal());
}

TEST(FormModal, TerminationEndsTheModalLoopWithCancel) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    scene.App.Queue([&scene] { scene.App.Terminate(); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

// Misuse, but it must never read the freed form: a form freed by a handler of its own Close is
// closed, and closing the main form ends the application.
TEST(FormFreedByItsOwnHandler, CloseTouchesNothingOfTheFreedForm) {
    struct TCase {
        const char* Handler;
        bool MainForm;
    };
    const TCase cases[] = {
        {"OnCloseQuery", false},
        {"OnClose", false},
        {"OnCloseQuery", true},
        {"OnClose", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Handler) + (c.MainForm ? " of the main form" : ""));
        TScene scene;
        auto* main = scene.App.CreateForm<TForm>();
        auto* form = c.MainForm ? main : scene.App.CreateForm<TForm>();
        form->Show();
        if (std::string(c.Handler) == "OnCloseQuery") {
            form->OnCloseQuery = [form](TComponent*, bool&) { form->Free(); };
        } else {
            form->OnClose = [form](TComponent*, TCloseAction&) { form->Free(); };
        }

        form->Close();

        EXPECT_EQ(scene.App.Terminated(), c.MainForm);
        EXPECT_EQ(scene.App.Screen().FormCount(), c.MainForm ? 0 : 1);
        EXPECT_EQ(scene.Backend.Step(), 0u) << "nothing left to release";
    }
}

TEST(FormFreedByItsOwnHandler, ShowModalEndsWithoutTouchingTheFreedForm) {
    enum class TFreedBy { QueuedCall, Timer, OnCloseAfterAResult };
    struct TCase {
        TFreedBy By;
        int Result;
    };
    // Freed inside the loop the result is unknown: cancelled. Freed by OnClose after the result
    // was set, the result stands.
    const TCase cases[] = {
        {TFreedBy::QueuedCall, mrCancel},
        {TFreedBy::Timer, mrCancel},
        {TFreedBy::OnCloseAfterAResult, mrOk},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.By));
        TScene scene;
        auto* main = scene.App.CreateForm<TForm>();
        auto* dialog = scene.App.CreateForm<TForm>();
        auto* timer = new TTimer(main);
        timer->SetInterval(100);
        switch (c.By) {
        case TFreedBy::QueuedCall:
            timer->SetEnabled(false);
            scene.App.Queue([dialog] { dialog->Free(); });
            break;
        case TFreedBy::Timer:
            timer->OnTimer = [dialog, timer](TComponent*) {
                timer->SetEnabled(false);
                dialog->Free();
            };
            break;
        case TFreedBy::OnCloseAfterAResult:
            timer->OnTimer = [dialog, timer](TComponent*) {
                timer->SetEnabled(false);
                dialog->SetModalResult(mrOk);
            };
            dialog->OnClose = [dialog](TComponent*, TCloseAction&) { dialog->Free(); };
            break;
        }

        EXPECT_EQ(dialog->ShowModal(), c.Result);

        EXPECT_THAT(scene.App.Screen().Forms(), ElementsAre(main));
        EXPECT_FALSE(scene.App.Terminated());
    }
}

TEST(FormFont, FormsStartWithTheApplicationsDefaultFont) {
    TScene scene;
    scene.App.DefaultFont().SetName(u"Segoe UI");
    scene.App.DefaultFont().SetSize(10);

    auto* unowned = NewForm<TForm>(scene.App);
    EXPECT_EQ(unowned->Font().Name(), u"Segoe UI");
    EXPECT_EQ(unowned->Font().Height(), -13);
    EXPECT_TRUE(unowned->ParentFont());

    // It keeps following the default until it gets a font of its own.
    auto* own = scene.App.CreateForm<TForm>();
    own->Font().SetName(u"Consolas");
    scene.App.DefaultFont().SetName(u"Calibri");
    EXPECT_EQ(unowned->Font().Name(), u"Calibri");
    EXPECT_EQ(own->Font().Name(), u"Consolas");
    unowned->Free();
}

TEST(FormGeometry, ClientAreaIsTheWindowLessTheFrame) {
    struct TCase {
        TFormBorderStyle Style;
        bool WithMenu;
        TSize Window;
    };
    const TCase cases[] = {
        {TFormBorderStyle::bsSizeable, false, {416, 339}},
        {TFormBorderStyle::bsSingle, false, {406, 329}},
        {TFormBorderStyle::bsDialog, true, {406, 349}},
        {TFormBorderStyle::bsNone, false, {400, 300}},
        {TFormBorderStyle::bsToolWindow, false, {406, 323}},
        {TFormBorderStyle::bsSizeToolWin, true, {416, 353}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Style));
        TScene scene;
        auto* form = scene.App.CreateForm<TForm>();
        form->SetBorderStyle(c.Style);
        if (c.WithMenu) {
            form->SetMenu(new TMainMenu(form));
        }
        form->SetClientSize(400, 300);
        EXPECT_EQ((TSize{form->Width(), form->Height()}), c.Window);
        EXPECT_EQ(form->ClientRect(), RectOf(0, 0, 400, 300));
    }
}

TEST(FormGeometry, MenuAndBorderChangesResizeTheClientAndItsAlignedControls) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    form->SetClientSize(400, 300);
    auto* client = new TControl(form);
    client->SetAlign(TAlign::alClient);
    client->SetParent(form);
    ASSERT_EQ(client->BoundsRect(), RectOf(0, 0, 400, 300));

    auto* menu = new TMainMenu(form);
    form->SetMenu(menu);
    EXPECT_EQ(client->BoundsRect(), RectOf(0, 0, 400, 280));
    menu->Free();
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(client->BoundsRect(), RectOf(0, 0, 400, 300));

    form->SetBorderStyle(TFormBorderStyle::bsNone);
    EXPECT_EQ(client->BoundsRect(), RectOf(0, 0, 416, 339));
}

TEST(FormGeometry, SizeLimitsHoldForEveryResize) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    form->SetBounds(0, 0, 500, 400);
    form->SetMinSize(TSize{600, 0});
    EXPECT_EQ(form->Width(), 600);
    EXPECT_EQ(form->Height(), 400);
    form->SetMaxSize(TSize{800, 300});
    EXPECT_EQ(form->Height(), 300);
    form->SetBounds(0, 0, 2000, 100);
    EXPECT_EQ((TSize{form->Width(), form->Height()}), (TSize{800, 100}));
}

// A form of 400 x 300 client pixels at (100, 80): a top panel, a client-aligned control, a
// control anchored to the bottom right corner and one stretched between the left and right edges.
struct TLaidOutForm {
    TForm* Form = nullptr;
    TControl* Top = nullptr;
    TControl* Client = nullptr;
    TControl* Corner = nullptr;
    TControl* Stretched = nullptr;

    explicit TLaidOutForm(TApplication& App) {
        Form = App.CreateForm<TForm>();
        Form->SetBounds(100, 80, 416, 339);
        Top = Add(TAlign::alTop, akLeft | akTop, RectOf(0, 0, 0, 40));
        Client = Add(TAlign::alClient, akLeft | akTop, RectOf(0, 0, 0, 0));
        Corner = Add(TAlign::alNone, akRight | akBottom, RectOf(300, 250, 80, 30));
        Stretched = Add(TAlign::alNone, akLeft | akTop | akRight, RectOf(10, 50, 380, 20));
    }

    TControl* Add(TAlign Align, TAnchors Anchors, const TRect& Bounds) {
        auto* control = new TControl(Form);
        control->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
        control->SetAnchors(Anchors);
        control->SetAlign(Align);
        control->SetParent(Form);
        return control;
    }

    // Where the four controls are in a client area of the given size.
    void ExpectLaidOutFor(int ClientWidth, int ClientHeight) const {
        EXPECT_EQ(Form->ClientRect(), RectOf(0, 0, ClientWidth, ClientHeight));
        EXPECT_EQ(Top->BoundsRect(), RectOf(0, 0, ClientWidth, 40));
        EXPECT_EQ(Client->BoundsRect(), RectOf(0, 40, ClientWidth, ClientHeight - 40));
        EXPECT_EQ(Corner->BoundsRect(), RectOf(ClientWidth - 100, ClientHeight - 50, 80, 30));
        EXPECT_EQ(Stretched->BoundsRect(), RectOf(10, 50, ClientWidth - 20, 20));
    }
};

// The headless desktop's primary work area is 1920 x 1040; a sizeable frame's caption takes 23.
TEST(FormMaximised, TheControlsFillTheWorkAreaAndRestoreBringsBackTheNormalLayout) {
    TScene scene;
    TLaidOutForm laidOut(scene.App);
    TForm* form = laidOut.Form;
    int resized = 0;
    form->OnResize = [&](TComponent*) { ++resized; };
    form->Show();
    laidOut.ExpectLaidOutFor(400, 300);

    form->Perform(msgSysCommand, scMaximize); // the maximise box
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(form->ShownClientSize(), (TSize{1920, 1017}));
    laidOut.ExpectLaidOutFor(1920, 1017);
    EXPECT_EQ(form->BoundsRect(), RectOf(100, 80, 416, 339)) << "the bounds it is restored to";
    EXPECT_EQ(resized, 1);

    form->Perform(msgSysCommand, scRestore);
    EXPECT_EQ(form->ShownClientSize(), std::nullopt);
    laidOut.ExpectLaidOutFor(400, 300);
    EXPECT_EQ(form->BoundsRect(), RectOf(100, 80, 416, 339));
    EXPECT_EQ(resized, 2);
}

// A minimised window has no client area worth laying out; a hidden one is not shown maximised yet.
TEST(FormMaximised, MinimisingOrHidingKeepsTheLayoutItIsShownWith) {
    TScene scene;
    TLaidOutForm laidOut(scene.App);
    TForm* form = laidOut.Form;

    form->SetWindowState(TWindowState::wsMaximized);
    laidOut.ExpectLaidOutFor(400, 300);
    form->Show();
    laidOut.ExpectLaidOutFor(1920, 1017);

    form->SetWindowState(TWindowState::wsMinimized);
    laidOut.ExpectLaidOutFor(1920, 1017);
    form->Hide();
    laidOut.ExpectLaidOutFor(1920, 1017);
    form->Show();
    form->SetWindowState(TWindowState::wsNormal);
    laidOut.ExpectLaidOutFor(400, 300);
    EXPECT_EQ(form->BoundsRect(), RectOf(100, 80, 416, 339));
}

// Changes of the normal bounds wait for the restore; a menu bar or a border changes the maximised
// client area at once, and the anchored controls move by the change exactly once.
TEST(FormMaximised, ChangesWhileMaximisedReachTheLayoutOnce) {
    TScene scene;
    TLaidOutForm laidOut(scene.App);
    TForm* form = laidOut.Form;
    form->Show();
    form->SetWindowState(TWindowState::wsMaximized);

    form->SetBounds(50, 60, 516, 439);
    EXPECT_EQ(form->BoundsRect(), RectOf(50, 60, 516, 439));
    laidOut.ExpectLaidOutFor(1920, 1017);

    auto* menu = new TMainMenu(form);
    form->SetMenu(menu);
    laidOut.ExpectLaidOutFor(1920, 997);
    menu->Free();
    laidOut.ExpectLaidOutFor(1920, 1017);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    laidOut.ExpectLaidOutFor(1920, 1040);
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    laidOut.ExpectLaidOutFor(1920, 1017);

    form->SetWindowState(TWindowState::wsNormal);
    laidOut.ExpectLaidOutFor(500, 400);
    EXPECT_EQ(form->BoundsRect(), RectOf(50, 60, 516, 439));
}

TEST(FormShow, ShowAndHideRunTheirEventsOncePerChange) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    std::vector<std::string> journal;
    form->OnShow = [&](TComponent*) { journal.push_back(form->Visible() ? "show (visible)" : "show"); };
    form->OnHide = [&](TComponent*) { journal.push_back("hide"); };

    form->Show();
    form->Show();
    form->Hide();
    form->Hide();

    EXPECT_THAT(journal, ElementsAre("show (visible)", "hide"));
    const auto* peer = scene.Backend.PeerOf(*form);
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(peer->SyncCount(TChange::Visible), 2);
    EXPECT_EQ(peer->SyncCount(TChange::ZOrder), 1); // the second Show brings it to the front
}

} // namespace
} // namespace toolkit::testing
