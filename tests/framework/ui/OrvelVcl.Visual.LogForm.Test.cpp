#include "framework/ui/OrvelVcl.Visual.LogForm.h"

#include "framework/ui/OrvelVcl.Common.LogFilter.h"
#include "framework/ui/OrvelVcl.Common.LogViewer.h"
#include "tests/Test.Support.h"
#include "tests/framework/ui/OrvelVcl.Visual.AppData.Scene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvel {
namespace {

using namespace toolkit;
using testing::IniPath;

// The application object with its log window, as the application creates it before its main form.
class LogWindow : public testing::ShellScene {
protected:
    TfrmRamLog& MakeWindow() {
        MakeApplication();
        MakeMainForm();
        Backend.Step(); // post-initialization: from here on the forms may save
        return *Application->LogWindow();
    }
    TRamLog& AppLog() { return *Application->RamLog; }
};

TEST_F(LogWindow, LayoutFollowsTheFormResource) {
    TfrmRamLog& window = MakeWindow();
    EXPECT_EQ(window.Name(), u"frmRamLog");
    EXPECT_EQ(window.Caption(), u"Log");
    EXPECT_EQ(window.ClientWidth(), 643);
    EXPECT_EQ(window.ClientHeight(), 507);
    EXPECT_EQ(window.BorderIcons(), biSystemMenu | biMaximize);
    EXPECT_EQ(window.Position(), TPosition::poDesigned);
    EXPECT_EQ(window.AutoState(), asPosOnly);

    EXPECT_EQ(window.Container->Align(), TAlign::alClient);
    EXPECT_EQ(window.pnlBottom->Parent(), window.Container);
    EXPECT_EQ(window.pnlBottom->Align(), TAlign::alBottom);
    EXPECT_EQ(window.pnlBottom->Height(), 31);

    // Left to right along the bottom, then the filter and the button from the right edge.
    const std::vector<TControl*>& bottom = window.pnlBottom->Controls();
    const struct {
        TControl* Control;
        std::u16string Caption;
        int Width;
    } boxes[] = {{window.chkShowDate, u"Show date", 94},
                 {window.chkShowTime, u"Show time", 95},
                 {window.chkLogOnError, u"Show log on error", 138},
                 {window.chkScrollDown, u"Scroll down", 109}};
    int left = 0;
    for (const auto& box : boxes) {
        SCOPED_TRACE(std::string(box.Caption.begin(), box.Caption.end()));
        EXPECT_EQ(box.Control->Caption(), box.Caption);
        EXPECT_EQ(box.Control->Width(), box.Width);
        EXPECT_EQ(box.Control->Align(), TAlign::alLeft);
        EXPECT_EQ(box.Control->Left(), left + 3);
        left = box.Control->Left() + box.Width + 3;
    }
    EXPECT_EQ(window.chkLogOnError->Hint(),
              u"Show this Log window when it displays error or warning messages.");
    EXPECT_EQ(window.chkScrollDown->Hint(),
              u"This will take a tiny bit more CPU if you have lots of messages.");
    EXPECT_EQ(window.btnClear->Caption(), u"Clear");
    EXPECT_EQ(window.btnClear->Hint(), u"Clear log");
    EXPECT_EQ(window.btnClear->Width(), 68);
    EXPECT_EQ(window.btnClear->Left() + 68 + 3, window.pnlBottom->ClientWidth()) << "at the right edge";
    ASSERT_NE(window.LogFilter, nullptr);
    EXPECT_EQ(window.LogFilter->Parent(), window.pnlBottom);
    EXPECT_EQ(window.LogFilter->Align(), TAlign::alRight);
    EXPECT_LT(window.LogFilter->Left(), window.btnClear->Left()) << "the filter sits left of the button";
    EXPECT_EQ(bottom.size(), 6u);

    ASSERT_NE(window.Log, nullptr);
    EXPECT_EQ(window.Log->Parent(), window.Container);
    EXPECT_EQ(window.Log->Align(), TAlign::alClient);
    EXPECT_EQ(window.Log->PopupMenu(), window.PopupMenu);
    EXPECT_EQ(window.LogFilter->Log(), window.Log);
    const TMenuItem* items = window.PopupMenu->Items();
    ASSERT_EQ(items->Count(), 3);
    EXPECT_EQ(items->Items(0)->Caption(), u"Copy line");
    EXPECT_EQ(items->Items(1)->Caption(), u"Copy all (filtered)");
    EXPECT_EQ(items->Items(2)->Caption(), u"Copy all (unfiltered)");
    EXPECT_EQ(items->Items(2)->Hint(), u"Returns all lines, even if a filter is applied.");
}

TEST_F(LogWindow, FirstRunShowsDateTimeAndScrollingAtHintsWithPopUpOnErrors) {
    TfrmRamLog& window = MakeWindow();
    EXPECT_TRUE(window.Log->ShowDate());
    EXPECT_TRUE(window.Log->ShowTime());
    EXPECT_TRUE(window.Log->AutoScroll());
    EXPECT_EQ(window.Log->Verbosity(), lvHints);
    EXPECT_TRUE(AppLog().ShowOnError);
    for (const TCheckBox* box :
         {window.chkShowDate, window.chkShowTime, window.chkLogOnError, window.chkScrollDown}) {
        EXPECT_TRUE(box->Checked()) << std::string(box->Name().begin(), box->Name().end());
    }
}

// Each option read from the file is in force, and written back unchanged at the end.
TEST_F(LogWindow, EveryOptionSurvivesARestart) {
    const struct {
        const char* Key;
        const char* Value;
    } cases[] = {
        {"ShowOnError", "0"}, {"ShowTime", "0"}, {"ShowDate", "0"}, {"AutoScroll", "0"}, {"Verbosity", "5"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Key);
        Application.reset();
        Forget();
        Sim.Files.AddFile(IniPath, std::string("[Log Settings]\r\n") + c.Key + "=" + c.Value + "\r\n");
        TfrmRamLog& window = MakeWindow();
        const std::string key = c.Key;
        EXPECT_EQ(AppLog().ShowOnError, key != "ShowOnError");
        EXPECT_EQ(window.chkLogOnError->Checked(), key != "ShowOnError");
        EXPECT_EQ(window.Log->ShowTime(), key != "ShowTime");
        EXPECT_EQ(window.chkShowTime->Checked(), key != "ShowTime");
        EXPECT_EQ(window.Log->ShowDate(), key != "ShowDate");
        EXPECT_EQ(window.chkShowDate->Checked(), key != "ShowDate");
        EXPECT_EQ(window.Log->AutoScroll(), key != "AutoScroll");
        EXPECT_EQ(window.chkScrollDown->Checked(), key != "AutoScroll");
        EXPECT_EQ(window.Log->Verbosity(), key == "Verbosity" ? lvWarnings : lvHints);

        App.MainForm()->Free();
        Application.reset();
        const std::u16string key16(key.begin(), key.end());
        const std::string value = c.Value;
        EXPECT_EQ(IniValue(u"Log Settings", key16), std::u16string(value.begin(), value.end()));
    }
}

TEST_F(LogWindow, VerbosityOutsideTheLevelsCountsAsMissing) {
    for (const char* value : {"7", "-1", "99999"}) {
        SCOPED_TRACE(value);
        Application.reset();
        Forget();
        Sim.Files.AddFile(IniPath, std::string("[Log Settings]\r\nVerbosity=") + value + "\r\n");
        EXPECT_EQ(MakeWindow().Log->Verbosity(), lvHints);
        App.MainForm()->Free();
    }
}

TEST_F(LogWindow, OptionBoxesDriveTheViewerAndTheApplicationLog) {
    TfrmRamLog& window = MakeWindow();
    window.chkShowDate->Toggle();
    EXPECT_FALSE(window.Log->ShowDate());
    window.chkShowTime->Toggle();
    EXPECT_FALSE(window.Log->ShowTime());
    window.chkScrollDown->Toggle();
    EXPECT_FALSE(window.Log->AutoScroll());
    window.chkLogOnError->Toggle();
    EXPECT_FALSE(AppLog().ShowOnError);
    EXPECT_FALSE(Application->ShowLogOnError()) << "the application object's switch answers the same";
    window.chkLogOnError->Toggle();
    EXPECT_TRUE(AppLog().ShowOnError);
}

TEST_F(LogWindow, WarningsAndErrorsBringTheHiddenWindowForwardInfosDoNot) {
    TfrmRamLog& window = MakeWindow();
    const struct {
        TLogVerbLvl Level;
        bool ShowOnError;
        bool Shown;
    } cases[] = {{lvInfos, true, false}, {lvImportant, true, false}, {lvWarnings, true, true},
                 {lvErrors, true, true}, {lvWarnings, false, false}, {lvErrors, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(static_cast<int>(c.Level)) + (c.ShowOnError ? " on" : " off"));
        window.Hide();
        window.chkLogOnError->SetChecked(c.ShowOnError);
        switch (c.Level) {
        case lvInfos:
            TAppDataCore::LogInfo(u"info");
            break;
        case lvImportant:
            TAppDataCore::LogImpo(u"important");
            break;
        case lvWarnings:
            TAppDataCore::LogWarn(u"warning");
            break;
        default:
            TAppDataCore::LogError(u"error");
            break;
        }
        Backend.Step();
        EXPECT_EQ(window.Visible(), c.Shown);
    }
}

TEST_F(LogWindow, MinimisedWindowIsRestoredOnAWarning) {
    TfrmRamLog& window = MakeWindow();
    window.Show();
    window.SetWindowState(TWindowState::wsMinimized);
    TAppDataCore::LogWarn(u"disk almost full");
    Backend.Step();
    EXPECT_EQ(window.WindowState(), TWindowState::wsNormal);
}

TEST_F(LogWindow, ClosingHidesTheSameWindowWhichTheNextWarningShowsAgainWithItsLines) {
    TfrmRamLog& window = MakeWindow();
    TAppDataCore::LogWarn(u"first");
    Backend.Step();
    ASSERT_TRUE(window.Visible());
    window.Close();
    EXPECT_FALSE(window.Visible());
    EXPECT_EQ(Application->LogWindow(), &window) << "hidden, not freed";

    window.chkShowDate->SetChecked(false);
    TAppDataCore::LogWarn(u"second");
    Backend.Step();
    EXPECT_TRUE(window.Visible());
    EXPECT_FALSE(window.Log->ShowDate()) << "options unchanged";
    EXPECT_EQ(window.Log->Count(), AppLog().Count(true, lvHints));
}

TEST_F(LogWindow, ClearEmptiesTheApplicationLogItself) {
    TfrmRamLog& window = MakeWindow();
    TAppDataCore::LogInfo(u"one");
    TAppDataCore::LogInfo(u"two");
    ASSERT_GT(AppLog().Count(false, lvDebug), 0);
    window.btnClear->Click();
    EXPECT_EQ(AppLog().Count(false, lvDebug), 0);
}

TEST_F(LogWindow, CopyCommandsCopyTheLineThePageOrTheWholeLog) {
    TfrmRamLog& window = MakeWindow();
    TAppDataCore::LogClear();
    TAppDataCore::LogVerb(u"below the filter");
    TAppDataCore::LogInfo(u"shown one");
    TAppDataCore::LogInfo(u"shown two");
    window.Show();
    Backend.Step();

    window.mnuCopyAll->Click();
    EXPECT_EQ(Backend.ClipboardText(), u"below the filter\r\nshown one\r\nshown two");
    window.mnuCopyFiltered->Click();
    EXPECT_EQ(Backend.ClipboardText(), u"shown one\r\nshown two\r\n");
    window.Log->Grid().SetRow(2);
    window.mnuCopy->Click();
    EXPECT_EQ(Backend.ClipboardText(), u"shown two");
}

// The boxes, the filter and Clear side by side need more than the designed 643 pixels; a window
// that narrow, designed or saved, would slide the filter's caption under the boxes.
TEST_F(LogWindow, ShownWindowIsWideEnoughForItsBottomStripAndStaysSo) {
    TfrmRamLog& window = MakeWindow();
    const auto stripIsWhole = [&] {
        const TControl* lastBox = window.chkScrollDown;
        return lastBox->Left() + lastBox->Width() <= window.LogFilter->Left() &&
               window.LogFilter->Left() + window.LogFilter->Width() <= window.btnClear->Left() &&
               window.btnClear->Left() + window.btnClear->Width() <= window.pnlBottom->ClientWidth();
    };
    window.Show();
    EXPECT_TRUE(stripIsWhole()) << "as first shown";
    EXPECT_GT(window.ClientWidth(), TfrmRamLog::ClientWidthPx);
    window.SetBounds(window.Left(), window.Top(), 300, window.Height());
    EXPECT_TRUE(stripIsWhole()) << "narrowed by the user";
}

TEST_F(LogWindow, WindowWithAnOwnerFailsItsAssertionWhenDestroyed) {
    MakeApplication();
    auto* owned = NewForm<TfrmRamLog>(static_cast<TComponent*>(&App));
    EXPECT_THROW_MSG(owned->Free(), EAssertionFailed, u"Assertion failure");
}

TEST_F(LogWindow, RefusedWriteOfTheOptionsAtTheEndDoesNotEscapeTheApplicationObject) {
    MakeWindow();
    Sim.Files.DenyWritesUnder(testing::DataFolder);
    App.MainForm()->Free();
    EXPECT_NO_THROW(Application.reset());
    EXPECT_EQ(AppData, nullptr);
}

} // namespace
} // namespace orvel
