// A form saved from a real window and loaded into another: the window state Windows reports for a
// minimised window, and bounds that come back where they were.
// First, so that no toolkit header is read while windows.h's A/W macros are defined.
#include "toolkit/win32/Win32Ui.Windows.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.AppData.h"
#include "framework/ui/OrvelVcl.Common.IniFile.h"
#include "platform/win32/Win32.Platform.h"
#include "tests/toolkit/win32/Win32Ui.TestScene.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

using platform::win32::test::TScratchFolder;
using toolkit::win32::testing::TScene;
using toolkit::win32::testing::WaitUntil;
using toolkit::win32::testing::WindowOf;

class Win32IniFile : public ::testing::Test {
protected:
    // Saving needs the application data core to exist; a bare one is enough for a form that is
    // not the main form.
    void SetUp() override { AppDataCore = &Core; }
    void TearDown() override { AppDataCore = nullptr; }

    toolkit::TForm* NewShownForm(int Left, int Top, int Width, int Height) {
        auto* form = toolkit::NewForm<toolkit::TForm>(static_cast<toolkit::TComponent*>(&Scene.App));
        form->SetName(u"frmRoundTrip");
        form->SetPosition(toolkit::TPosition::poDesigned);
        form->SetBounds(Left, Top, Width, Height);
        form->Show();
        return form;
    }
    void SetState(toolkit::TForm* Form, toolkit::TWindowState State) {
        Form->SetWindowState(State);
        HWND window = WindowOf(*Form);
        ASSERT_TRUE(WaitUntil([&] {
            switch (State) {
            case toolkit::TWindowState::wsMaximized:
                return ::IsZoomed(window) != FALSE;
            case toolkit::TWindowState::wsMinimized:
                return ::IsIconic(window) != FALSE;
            default:
                return ::IsIconic(window) == FALSE && ::IsZoomed(window) == FALSE;
            }
        }));
    }
    std::u16string Stored(const std::u16string& Key) {
        TIniFileApp ini(u"frmRoundTrip", IniPath, Os);
        return ini.ReadString(u"frmRoundTrip", Key, u"<missing>");
    }

    platform::win32::TWin32Platform Platform;
    platform::TServices Os = Platform.Services();
    TAppDataCore Core;
    TScratchFolder Scratch;
    std::u16string IniPath = Scratch / L"Tarvin.ini";
    TScene Scene;
};

TEST_F(Win32IniFile, AMaximisedWindowIsSavedWithItsNormalBoundsAndComesBackMaximised) {
    toolkit::TForm* form = NewShownForm(120, 80, 500, 360);
    const int ppi = form->CurrentPPI();
    SetState(form, toolkit::TWindowState::wsMaximized);
    {
        TIniFileApp ini(u"frmRoundTrip", IniPath, Os);
        ini.SaveForm(form, asPosOnly);
    }
    EXPECT_EQ(Stored(u"WindowState"), u"2");
    EXPECT_EQ(Stored(u"Left"), base::AsciiToUtf16(std::to_string(MulDiv(120, 96, ppi))));
    EXPECT_EQ(Stored(u"Width"), base::AsciiToUtf16(std::to_string(MulDiv(500, 96, ppi))));
    EXPECT_TRUE(WaitUntil([&] { return ::IsZoomed(WindowOf(*form)) == FALSE; }))
        << "the save leaves it normal";
    form->Free();

    toolkit::TForm* again = NewShownForm(0, 0, 200, 150);
    {
        TIniFileApp ini(u"frmRoundTrip", IniPath, Os);
        ini.LoadForm(again, asPosOnly);
    }
    HWND window = WindowOf(*again);
    EXPECT_EQ(again->WindowState(), toolkit::TWindowState::wsMaximized);
    EXPECT_TRUE(::IsWindowVisible(window));
    // Checked before any message is pumped: under wine without a window manager, X events of the
    // bounds set just before may still arrive and restore the window.
    EXPECT_TRUE(::IsZoomed(window));
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ASSERT_TRUE(::GetWindowPlacement(window, &placement));
    EXPECT_EQ(placement.rcNormalPosition.left, 120);
    EXPECT_EQ(placement.rcNormalPosition.top, 80);
    EXPECT_EQ(placement.rcNormalPosition.right - placement.rcNormalPosition.left, 500);
    EXPECT_EQ(placement.rcNormalPosition.bottom - placement.rcNormalPosition.top, 360);
    again->Free();
}

// The user's way, not the program's: a click on the maximise box is the system command, and the
// window reports its new rectangle while no program change is under way.
TEST_F(Win32IniFile, AWindowTheUserMaximisedIsSavedWithItsNormalBounds) {
    toolkit::TForm* form = NewShownForm(120, 80, 500, 360);
    const int ppi = form->CurrentPPI();
    HWND window = WindowOf(*form);
    ::SendMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] {
        return ::IsZoomed(window) != FALSE && form->WindowState() == toolkit::TWindowState::wsMaximized;
    }));
    {
        TIniFileApp ini(u"frmRoundTrip", IniPath, Os);
        ini.SaveForm(form, asPosOnly);
    }
    EXPECT_EQ(Stored(u"WindowState"), u"2");
    EXPECT_EQ(Stored(u"Left"), base::AsciiToUtf16(std::to_string(MulDiv(120, 96, ppi))));
    EXPECT_EQ(Stored(u"Top"), base::AsciiToUtf16(std::to_string(MulDiv(80, 96, ppi))));
    EXPECT_EQ(Stored(u"Width"), base::AsciiToUtf16(std::to_string(MulDiv(500, 96, ppi))));
    EXPECT_EQ(Stored(u"Height"), base::AsciiToUtf16(std::to_string(MulDiv(360, 96, ppi))));
    form->Free();
}

TEST_F(Win32IniFile, AMinimisedWindowStoresTheStateWindowsWouldRestoreItTo) {
    toolkit::TForm* form = NewShownForm(100, 100, 400, 300);
    SetState(form, toolkit::TWindowState::wsMaximized);
    SetState(form, toolkit::TWindowState::wsMinimized);
    EXPECT_TRUE(form->RestoresMaximized());
    {
        TIniFileApp ini(u"frmRoundTrip", IniPath, Os);
        ini.SaveForm(form, asPosOnly);
    }
    EXPECT_EQ(Stored(u"WindowState"), u"2");

    form->Free();

    form = NewShownForm(100, 100, 400, 300);
    SetState(form, toolkit::TWindowState::wsMinimized);
    EXPECT_FALSE(form->RestoresMaximized());
    {
        TIniFileApp ini(u"frmRoundTrip", IniPath, Os);
        ini.SaveForm(form, asPosOnly);
    }
    EXPECT_EQ(Stored(u"WindowState"), u"0");
    form->Free();
}

} // namespace
} // namespace orvel
