#include "tests/toolkit/win32/Win32Ui.TestScene.h"
#include "toolkit/Toolkit.ComCtrls.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace toolkit::win32::testing {
namespace {

class Win32Input : public ::testing::Test {
protected:
    TScene Scene;
    TOwnedPtr<TForm> Form{NewForm<TForm>(static_cast<TComponent*>(&Scene.App))};

    template <class T> T* Add(int Left, int Top, int Width, int Height) {
        auto* control = new T(Form.get());
        control->SetParent(Form.get());
        control->SetBounds(Left, Top, Width, Height);
        return control;
    }
};

TEST_F(Win32Input, TypedCharactersPassTheFormsKeyPreviewAndTheTextReachesTheModel) {
    auto* edit = Add<TEdit>(10, 10, 200, 24);
    std::u16string previewed;
    Form->SetKeyPreview(true);
    Form->OnKeyPress = [&](TComponent*, char16_t& Key) {
        previewed += Key;
        if (Key == u'x')
            Key = 0; // the form eats it
    };
    HWND window = WindowOf(*edit);
    ::PostMessageW(window, WM_CHAR, L'x', 0);
    ::PostMessageW(window, WM_CHAR, L'y', 0);
    Scene.App.ProcessMessages();
    EXPECT_EQ(previewed, u"xy");
    EXPECT_EQ(Form->ActiveControl(), edit) << "the window that got the key is the active control";
    EXPECT_EQ(edit->Text(), u"y") << "typing must be reported into the model";

    // The program's text reaches the window and does not come back as typing.
    int changes = 0;
    edit->OnChange = [&](TComponent*) { ++changes; };
    edit->SetText(u"set by the program");
    wchar_t text[64] = {};
    ::GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"set by the program");
    EXPECT_EQ(changes, 1);
}

TEST_F(Win32Input, ALabelReportsTheMouseEnteringAndLeavingOncePerVisit) {
    auto* label = Add<TLabel>(10, 10, 120, 20);
    label->SetCaption(u"https://example.invalid");
    int entered = 0;
    int left = 0;
    int clicks = 0;
    label->OnMouseEnter = [&](TComponent*) { ++entered; };
    label->OnMouseLeave = [&](TComponent*) { ++left; };
    label->OnClick = [&](TComponent*) { ++clicks; };
    HWND window = WindowOf(*label);
    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(entered, 1);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 5));
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(clicks, 1);
    ::SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(left, 1);
    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(entered, 2);
}

TEST_F(Win32Input, TheTrackBarAndScrollBarShowTheModelsRangeAndReportTheUsersMoves) {
    auto* track = Add<TTrackBar>(10, 10, 200, 30);
    track->SetParams(2, 0, 10);
    HWND trackWindow = WindowOf(*track);
    EXPECT_EQ(::SendMessageW(trackWindow, TBM_GETPOS, 0, 0), 2);
    EXPECT_EQ(::SendMessageW(trackWindow, TBM_GETRANGEMAX, 0, 0), 10);
    int trackChanges = 0;
    track->OnChange = [&](TComponent*) { ++trackChanges; };
    // The user drags the thumb: the control moves, then tells its parent.
    ::SendMessageW(trackWindow, TBM_SETPOS, TRUE, 7);
    ::SendMessageW(WindowOf(*Form), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 7),
                   reinterpret_cast<LPARAM>(trackWindow));
    EXPECT_EQ(track->Position(), 7);
    EXPECT_EQ(trackChanges, 1);

    auto* scroll = Add<TScrollBar>(10, 50, 17, 200);
    scroll->SetKind(TScrollBarKind::sbVertical);
    scroll->SetParams(0, 0, 50);
    scroll->SetLargeChange(10);
    HWND scrollWindow = WindowOf(*scroll);
    ::SendMessageW(WindowOf(*Form), WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0),
                   reinterpret_cast<LPARAM>(scrollWindow));
    EXPECT_EQ(scroll->Position(), 10);
    EXPECT_EQ(::GetScrollPos(scrollWindow, SB_CTL), 10);
    ::SendMessageW(WindowOf(*Form), WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0),
                   reinterpret_cast<LPARAM>(scrollWindow));
    EXPECT_EQ(scroll->Position(), 50);
    ::SendMessageW(WindowOf(*Form), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0),
                   reinterpret_cast<LPARAM>(scrollWindow));
    EXPECT_EQ(scroll->Position(), 50) << "the position stays inside the range";
}

} // namespace
} // namespace toolkit::win32::testing
