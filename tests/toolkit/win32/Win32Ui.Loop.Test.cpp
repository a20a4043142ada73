#include "tests/toolkit/win32/Win32Ui.TestScene.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/Toolkit.Timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

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
            Seen.push_back(Msg.Msg);
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
