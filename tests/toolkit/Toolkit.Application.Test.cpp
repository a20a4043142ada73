#include "tests/toolkit/Toolkit.Scene.h"
#include "tests/Test.Support.h"
#include "toolkit/Toolkit.Clipboard.h"
#include "toolkit/Toolkit.Exceptions.h"
#include "toolkit/Toolkit.Form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace toolkit::testing {
namespace {

using ::testing::ElementsAre;

TEST(ApplicationForms, TheFirstCreatedFormBecomesTheMainForm) {
    TScene scene;
    auto* first = scene.App.CreateForm<TForm>();
    auto* second = scene.App.CreateForm<TForm>();
    EXPECT_EQ(scene.App.MainForm(), first);
    EXPECT_EQ(first->Owner(), &scene.App);
    EXPECT_EQ(second->Owner(), &scene.App);
}

TEST(ApplicationRun, ShowsTheMainFormAndLoopsUntilItCloses) {
    TScene scene;
    auto* main = scene.App.CreateForm<TForm>();
    bool visibleInLoop = false;
    scene.App.Queue([&] {
        visibleInLoop = main->Visible();
        main->Close();
    });

    scene.App.Run();

    EXPECT_TRUE(visibleInLoop);
    EXPECT_TRUE(scene.App.Terminated());
}

TEST(ApplicationRun, MainFormStaysHiddenWhenNotToBeShownOrMinimised) {
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        TScene scene;
        auto* main = scene.App.CreateForm<TForm>();
        if (variant == 0) {
            scene.App.SetShowMainForm(false);
        } else if (variant == 1) {
            scene.App.Minimize();
        } else {
            main->SetWindowState(TWindowState::wsMinimized);
        }
        scene.App.Queue([&] { scene.App.Terminate(); });

        scene.App.Run();

        EXPECT_FALSE(main->Visible());
        EXPECT_EQ(scene.Backend.ApplicationMinimizeCount(), variant == 0 ? 0 : 1);
        EXPECT_EQ(scene.App.Minimized(), variant != 0);
    }
}

TEST(ApplicationRun, HandlerErrorsGoToHandleExceptionAndTheLoopGoesOn) {
    TScene scene;
    scene.App.CreateForm<TForm>()->SetCaption(u"Main");
    std::vector<std::string> errors;
    scene.App.OnException = [&](const std::exception& Error) { errors.push_back(Error.what()); };
    scene.App.Queue([] { throw std::runtime_error("first"); });
    scene.App.Queue([] { throw EInvalidOperation(u"second"); });
    bool reached = false;
    scene.App.Queue([&] {
        reached = true;
        scene.App.Terminate();
    });

    scene.App.Run();

    EXPECT_THAT(errors, ElementsAre("first", "second"));
    EXPECT_TRUE(reached);
}

TEST(ApplicationRun, AnIdleLoopWithNothingToWaitForRaises) {
    TScene scene;
    scene.App.CreateForm<TForm>();
    EXPECT_THROW(scene.App.Run(), EInvalidOperation);
}

TEST(ApplicationErrors, WithoutAHandlerTheErrorIsShownInAMessageBox) {
    TScene scene;
    auto* main = scene.App.CreateForm<TForm>();
    scene.App.SetTitle(u"Tarvin");

    scene.App.HandleException(EInvalidOperation(u"Ünïcode message"));
    scene.App.HandleException(std::runtime_error("plain"));

    ASSERT_EQ(scene.Backend.MessageBoxes().size(), 2u);
    const headless::TRecordedMessageBox& box = scene.Backend.MessageBoxes()[0];
    EXPECT_EQ(box.Owner, main);
    EXPECT_EQ(box.Text, u"Ünïcode message");
    EXPECT_EQ(box.Caption, u"Tarvin");
    EXPECT_EQ(box.Flags & mbIconError, mbIconError);
    EXPECT_EQ(scene.Backend.MessageBoxes()[1].Text, u"plain");
}

// What a `catch (...)` holds goes the way a standard exception does; anything else is named.
TEST(ApplicationErrors, ACaughtExceptionOfAnyKindReachesTheSameHandler) {
    TScene scene;
    scene.App.CreateForm<TForm>();
    std::vector<std::string> errors;
    scene.App.OnException = [&](const std::exception& Error) { errors.push_back(Error.what()); };
    const auto caught = [](auto Raise) {
        try {
            Raise();
        } catch (...) {
            return std::current_exception();
        }
        return std::exception_ptr();
    };

    scene.App.HandleException(caught([] { throw std::runtime_error("standard"); }));
    scene.App.HandleException(caught([] { throw EInvalidOperation(u"Ünïcode own"); }));
    scene.App.HandleException(caught([] { throw 42; }));
    scene.App.HandleException(std::exception_ptr());

    EXPECT_THAT(errors, ElementsAre("standard", "Ünïcode own", "an unknown exception escaped a handler"));
}

TEST(ApplicationMessageBox, OwnedByTheModalFormWhileOneRunsAndAnsweredAsScripted) {
    TScene scene;
    auto* main = scene.App.CreateForm<TForm>();
    auto* dialog = scene.App.CreateForm<TForm>();
    scene.Backend.ScriptMessageBoxAnswer(mrCancel);
    int answerInDialog = -1;
    scene.App.Queue([&] {
        answerInDialog = scene.App.MessageBox(u"Sure?", u"Question", mbIconWarning);
        dialog->SetModalResult(mrOk);
    });
    dialog->ShowModal();
    const int answerLater = scene.App.MessageBox(u"Done", u"Info", mbIconInformation);

    EXPECT_EQ(answerInDialog, mrCancel);
    EXPECT_EQ(answerLater, mrOk);
    ASSERT_EQ(scene.Backend.MessageBoxes().size(), 2u);
    EXPECT_EQ(scene.Backend.MessageBoxes()[0].Owner, dialog);
    EXPECT_EQ(scene.Backend.MessageBoxes()[1].Owner, main);
}

TEST(ApplicationQueue, CallsRunInOrderAndAnOwnersCallsCanBeDropped) {
    TScene scene;
    std::string order;
    int ownerA = 0;
    int ownerB = 0;
    scene.App.Queue([&] { order += '1'; }, &ownerA);
    scene.App.Queue(
        [&] {
            order += '2';
            scene.App.Queue([&] { order += '5'; }); // queued by a call: runs in the same step
        },
        &ownerB);
    scene.App.Queue([&] { order += '3'; }, &ownerA);
    scene.App.Queue([&] { order += '4'; });
    scene.App.RemoveQueued(&ownerA);

    EXPECT_EQ(scene.Backend.Step(), 3u);
    EXPECT_EQ(order, "245");
    EXPECT_EQ(scene.Backend.Step(), 0u);
}

TEST(ApplicationQueue, ProcessMessagesRunsWhatIsPendingAndReportsErrors) {
    TScene scene;
    std::vector<std::string> errors;
    scene.App.OnException = [&](const std::exception& Error) { errors.push_back(Error.what()); };
    std::string order;
    scene.App.Queue([&] { order += 'a'; });
    scene.App.Queue([] { throw std::runtime_error("boom"); });
    scene.App.Queue([&] { order += 'b'; });

    scene.App.ProcessMessages();

    EXPECT_EQ(order, "ab");
    EXPECT_THAT(errors, ElementsAre("boom"));
}

TEST(ApplicationWindow, MinimiseRestoreAndFrontReachTheBackendOncePerChange) {
    TScene scene;
    scene.App.Minimize();
    scene.App.Minimize();
    scene.App.Restore();
    scene.App.Restore();
    scene.App.BringToFront();
    EXPECT_EQ(scene.Backend.ApplicationMinimizeCount(), 1);
    EXPECT_EQ(scene.Backend.ApplicationRestoreCount(), 1);
    EXPECT_EQ(scene.Backend.ApplicationBringToFrontCount(), 1);
    EXPECT_FALSE(scene.App.Minimized());
}

TEST(Screen, MonitorsWorkAreasAndTheDesktop) {
    TScene scene;
    EXPECT_EQ(scene.App.Screen().Width(), 1920);
    EXPECT_EQ(scene.App.Screen().Height(), 1080);
    EXPECT_EQ(scene.App.Screen().WorkAreaRect(), RectOf(0, 0, 1920, 1040));

    scene.Backend.SetMonitors({
        TMonitor{0, RectOf(-1280, 200, 1280, 1024), RectOf(-1280, 200, 1280, 984), 96, false},
        TMonitor{1, RectOf(0, 0, 2560, 1440), RectOf(0, 0, 2560, 1392), 120, true},
    });
    const TScreen& screen = scene.App.Screen();
    EXPECT_EQ(screen.PrimaryMonitor().MonitorNum, 1);
    EXPECT_EQ(screen.Width(), 2560);
    EXPECT_EQ(screen.DesktopRect(), (TRect{-1280, 0, 2560, 1440}));
    EXPECT_EQ(screen.MonitorFromRect(RectOf(-700, 300, 800, 100)).MonitorNum, 0);
    EXPECT_EQ(screen.MonitorFromRect(RectOf(-300, 300, 800, 100)).MonitorNum, 1);
    EXPECT_EQ(screen.MonitorFromRect(RectOf(-1000, 0, 10, 10)).MonitorNum, 0); // nearest: above it
    EXPECT_EQ(screen.MonitorFromRect(RectOf(100, 1500, 10, 10)).MonitorNum, 1);
}

TEST(Clipboard, TextRoundTripAndTheBusyError) {
    TScene scene;
    TClipboard clipboard(scene.App);
    EXPECT_EQ(clipboard.AsText(), u"");
    clipboard.SetAsText(u"line one\r\nline two");
    EXPECT_EQ(clipboard.AsText(), u"line one\r\nline two");

    scene.Backend.SetClipboardBusyFor(2);
    EXPECT_THROW_MSG(clipboard.SetAsText(u"new"), EClipboardException,
                     u"Cannot open clipboard: the clipboard is held by another program");
    EXPECT_THROW(clipboard.AsText(), EClipboardException);
    EXPECT_EQ(clipboard.AsText(), u"line one\r\nline two");
    clipboard.SetAsText(u"new");
    EXPECT_EQ(clipboard.AsText(), u"new");
}

} // namespace
} // namespace toolkit::testing
