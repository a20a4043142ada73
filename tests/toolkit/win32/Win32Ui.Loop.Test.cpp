#include "tests/toolkit/win32/Win32Ui.TestScene.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/Toolkit.Timer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <thread>
#include <vector>

namespace toolkit::win32::testing {
namespace {

TEST(Win32Loop, ATimerFiresRepeatedlyAndStopsWhenDisabled) {
    TScene scene;
    auto* timer = new TTimer(&scene.App);
    int ticks = 0;
    timer->OnTimer = [&](TComponent*) { ++ticks; };
    timer->SetInterval(20);
    timer->SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; })) << "WM_TIMER must reach the timer";
    timer->SetEnabled(false);
    const int stoppedAt = ticks;
    // A disabled timer's messages may not arrive any more; a pump of a few intervals shows it.
    WaitUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_EQ(ticks, stoppedAt);
    timer->Free();
}

TEST(Win32Loop, AnExceptionFromATimersHandlerReachesTheApplicationNotTheSystem) {
    TScene scene;
    auto* timer = new TTimer(&scene.App);
    timer->SetInterval(10);
    timer->OnTimer = [&](TComponent*) {
        timer->SetEnabled(false);
        throw std::runtime_error("handler failed");
    };
    timer->SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return !scene.Errors.empty(); }));
    EXPECT_EQ(scene.Errors.front(), "handler failed");
    timer->Free();
}

TEST(Win32Loop, AnExceptionInsideAWindowProcedureReachesTheApplication) {
    TScene scene;
    TOwnedPtr<TForm> form{NewForm<TForm>(static_cast<TComponent*>(&scene.App))};
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 10, 80, 25);
    button->OnClick = [](TComponent*) { throw std::runtime_error("click failed"); };
    ::SendMessageW(WindowOf(*button), BM_CLICK, 0, 0);
    ASSERT_EQ(scene.Errors.size(), 1u);
    EXPECT_EQ(scene.Errors.front(), "click failed");
}

TEST(Win32Loop, ACallQueuedFromAnotherThreadRunsOnTheMainThread) {
    TScene scene;
    const DWORD mainThread = ::GetCurrentThreadId();
    std::atomic<DWORD> ranOn = 0;
    std::thread worker([&] { scene.App.Queue([&] { ranOn = ::GetCurrentThreadId(); }); });
    worker.join();
    ASSERT_TRUE(WaitUntil([&] { return ranOn != 0; }));
    EXPECT_EQ(ranOn, mainThread);
}

TEST(Win32Loop, RunReturnsOnceAQueuedCallTerminatesTheApplication) {
    TScene scene;
    scene.App.SetShowMainForm(false);
    std::thread worker([&] { scene.App.Queue([&] { scene.App.Terminate(); }); });
    worker.join();
    scene.App.Run();
    EXPECT_TRUE(scene.App.Terminated());
}

TEST(Win32Loop, TheFormsPostedMessagesAndDefaultHandlingGoThroughDispatch) {
    TScene scene;
    class TRecordingForm : public TForm {
    public:
        using TForm::TForm;
        std::vector<std::uint32_t> Seen;
        void Dispatch(TMessage& Msg) override {
            // The test's own messages; every other message of the window passes here as well.
            if (Msg.Msg >= msgUser) {
                Seen.push_back(Msg.Msg);
            }
            if (Msg.Msg == msgUser + 65) {
                Msg.Result = 42;
                return;
            }
            TForm::Dispatch(Msg);
        }
    };
    TOwnedPtr<TRecordingForm> form{NewForm<TRecordingForm>(static_cast<TComponent*>(&scene.App))};
    HWND window = WindowOf(*form);
    EXPECT_EQ(::SendMessageW(window, WM_USER + 65, 0, 0), 42);
    form->PostMessage(msgApp + 3, 7, 8);
    ASSERT_TRUE(WaitUntil([&] { return form->Seen.size() >= 2; }));
    EXPECT_EQ(form->Seen.back(), msgApp + 3);
    // A registered message too, and an unhandled one ends in DefWindowProc.
    const UINT registered = ::RegisterWindowMessageW(L"TarvinToolkitTestMessage");
    EXPECT_EQ(::SendMessageW(window, registered, 0, 0), 0);
    EXPECT_EQ(form->Seen.back(), registered);
}

// Any message the form's window gets reaches Dispatch, not only those the toolkit knows of: a form
// answers the power and display broadcasts, say, without a change to the backend.
TEST(Win32Loop, AFormHandlesAnyMessageItsWindowReceives) {
    TScene scene;
    struct TSent {
        UINT Msg;
        WPARAM WParam;
        LPARAM LParam;
    };
    const TSent sent[] = {
        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0},
        {WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024)},
        {WM_SETTINGCHANGE, 0, 0},
        {WM_TIMECHANGE, 0, 0},
        {WM_ACTIVATEAPP, TRUE, 0},
    };
    class THandlingForm : public TForm {
    public:
        using TForm::TForm;
        std::vector<TMessage> Handled;
        const TSent* First = nullptr;
        const TSent* Last = nullptr;
        void Dispatch(TMessage& Msg) override {
            for (const TSent* s = First; s != Last; ++s) {
                if (s->Msg == Msg.Msg) {
                    Msg.Result = static_cast<std::intptr_t>(Msg.Msg) + 1000;
                    Handled.push_back(Msg);
                    return;
                }
            }
            TForm::Dispatch(Msg);
        }
    };
    TOwnedPtr<THandlingForm> form{NewForm<THandlingForm>(static_cast<TComponent*>(&scene.App))};
    form->First = std::begin(sent);
    form->Last = std::end(sent);
    HWND window = WindowOf(*form);
    for (const TSent& s : sent) {
        SCOPED_TRACE(s.Msg);
        EXPECT_EQ(::SendMessageW(window, s.Msg, s.WParam, s.LParam), static_cast<LRESULT>(s.Msg) + 1000);
        ASSERT_FALSE(form->Handled.empty());
        EXPECT_EQ(form->Handled.back().Msg, s.Msg);
        EXPECT_EQ(form->Handled.back().WParam, s.WParam);
        EXPECT_EQ(form->Handled.back().LParam, s.LParam);
    }
    EXPECT_EQ(form->Handled.size(), std::size(sent));
}

// What a form leaves to the inherited Dispatch still does the toolkit's work (a close request
// goes through Close, a move the user made reaches the model, the size limits reach the window)
// and Windows' default (the window keeps its text); a form that keeps a message to itself stops it.
TEST(Win32Loop, WhatAFormPassesOnStillDoesTheToolkitsWorkAndWindowsDefault) {
    TScene scene;
    class TPassingForm : public TForm {
    public:
        using TForm::TForm;
        std::vector<std::uint32_t> Seen;
        bool KeepClose = false;
        void Dispatch(TMessage& Msg) override {
            Seen.push_back(Msg.Msg);
            if (KeepClose && Msg.Msg == WM_CLOSE) {
                return;
            }
            TForm::Dispatch(Msg);
        }
        bool Saw(std::uint32_t Msg) const { return std::find(Seen.begin(), Seen.end(), Msg) != Seen.end(); }
    };
    TOwnedPtr<TPassingForm> form{NewForm<TPassingForm>(static_cast<TComponent*>(&scene.App))};
    form->SetBounds(100, 100, 400, 300);
    form->SetMinSize(TSize{250, 180});
    form->Show();
    HWND window = WindowOf(*form);
    int closes = 0;
    form->OnClose = [&](TComponent*, TCloseAction&) { ++closes; };

    ::SetWindowPos(window, nullptr, 140, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(form->Saw(WM_MOVE));
    EXPECT_EQ(form->Left(), 140);
    EXPECT_EQ(form->Top(), 120);

    MINMAXINFO limits{};
    ::SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 250);
    EXPECT_EQ(limits.ptMinTrackSize.y, 180);

    ::SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Set by a message"));
    wchar_t text[64] = {};
    ::GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"Set by a message");
    EXPECT_TRUE(form->Saw(WM_SETTEXT));

    form->KeepClose = true;
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 0) << "the form kept the close request to itself";
    EXPECT_TRUE(::IsWindowVisible(window));
    form->KeepClose = false;
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(::IsWindowVisible(window));
}

// Sends Ctrl+Alt+Digit as real keyboard input.
UINT SendChord(UINT DigitKey) {
    INPUT inputs[6] = {};
    const WORD keys[3] = {VK_CONTROL, VK_MENU, static_cast<WORD>(DigitKey)};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[5 - i].type = INPUT_KEYBOARD;
        inputs[5 - i].ki.wVk = keys[i];
        inputs[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    return ::SendInput(6, inputs, sizeof(INPUT));
}

class THotkeyForm : public TForm {
public:
    using TForm::TForm;
    std::vector<std::uintptr_t> HotKeys;
    void Dispatch(TMessage& Msg) override {
        if (Msg.Msg == msgHotKey) {
            HotKeys.push_back(Msg.WParam);
            return;
        }
        TForm::Dispatch(Msg);
    }
};

TEST(Win32Loop, ARegisteredHotkeyReachesTheFormsDispatch) {
    TScene scene;
    TOwnedPtr<THotkeyForm> form{NewForm<THotkeyForm>(static_cast<TComponent*>(&scene.App))};
    HWND window = WindowOf(*form);
    constexpr int HotkeyId = 3;
    ASSERT_TRUE(::RegisterHotKey(window, HotkeyId, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, '7'));
    ASSERT_EQ(SendChord('7'), 6u);
    const bool arrived = WaitUntil([&] { return !form->HotKeys.empty(); }, std::chrono::seconds(5));
    if (arrived) {
        EXPECT_EQ(form->HotKeys.front(), static_cast<std::uintptr_t>(HotkeyId));
    } else {
        // Wine turns injected input into WM_HOTKEY only where its display driver sees the keys; a
        // posted WM_HOTKEY still must take the same way through the window to Dispatch.
        ::PostMessageW(window, WM_HOTKEY, HotkeyId, MAKELPARAM(MOD_CONTROL | MOD_ALT, '7'));
        ASSERT_TRUE(WaitUntil([&] { return !form->HotKeys.empty(); }));
        EXPECT_EQ(form->HotKeys.front(), static_cast<std::uintptr_t>(HotkeyId));
        std::printf("[ NOTE     ] injected Ctrl+Alt+7 produced no WM_HOTKEY here; the posted one arrived\n");
    }
    ::UnregisterHotKey(window, HotkeyId);
}

TEST(Win32Loop, ShowModalDisablesTheOtherWindowsUntilItsResultIsSet) {
    TScene scene;
    TOwnedPtr<TForm> main{NewForm<TForm>(static_cast<TComponent*>(&scene.App))};
    TOwnedPtr<TForm> dialog{NewForm<TForm>(static_cast<TComponent*>(&scene.App))};
    main->Show();
    bool mainWasDisabled = false;
    // The result is set from inside the nested loop, as a button press would.
    scene.App.Queue([&] {
        mainWasDisabled = !::IsWindowEnabled(WindowOf(*main));
        dialog->SetModalResult(mrOk);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(mainWasDisabled);
    EXPECT_TRUE(::IsWindowEnabled(WindowOf(*main)));
    EXPECT_FALSE(::IsWindowVisible(WindowOf(*dialog)));
}

TEST(Win32Loop, AModalFormFreedInsideItsOwnLoopEndsItCancelled) {
    TScene scene;
    TOwnedPtr<TForm> main{NewForm<TForm>(static_cast<TComponent*>(&scene.App))};
    TForm* dialog = NewForm<TForm>(static_cast<TComponent*>(&scene.App));
    main->Show();
    scene.App.Queue([dialog] { dialog->Free(); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_TRUE(::IsWindowEnabled(WindowOf(*main))) << "the other windows come back";
    EXPECT_EQ(scene.App.Screen().FormCount(), 1);
}

TEST(Win32Loop, AMainMenuCommandClicksItsItem) {
    TScene scene;
    TOwnedPtr<TForm> form{NewForm<TForm>(static_cast<TComponent*>(&scene.App))};
    auto* menu = new TMainMenu(form.get());
    auto* file = new TMenuItem(form.get());
    file->SetCaption(u"&File");
    auto* exit = new TMenuItem(form.get());
    exit->SetCaption(u"E&xit");
    int clicks = 0;
    exit->OnClick = [&](TComponent*) { ++clicks; };
    file->Add(exit);
    menu->Items()->Add(file);
    form->SetMenu(menu);
    HWND window = WindowOf(*form);
    HMENU bar = ::GetMenu(window);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(::GetMenuItemCount(bar), 1);
    HMENU fileMenu = ::GetSubMenu(bar, 0);
    ASSERT_NE(fileMenu, nullptr);
    const UINT id = ::GetMenuItemID(fileMenu, 0);
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    EXPECT_EQ(clicks, 1);

    // A new item rebuilds the bar.
    auto* help = new TMenuItem(form.get());
    help->SetCaption(u"&Help");
    menu->Items()->Add(help);
    EXPECT_EQ(::GetMenuItemCount(::GetMenu(window)), 2);
}

} // namespace
} // namespace toolkit::win32::testing
