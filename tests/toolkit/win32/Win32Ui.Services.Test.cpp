#include "tests/toolkit/win32/Win32Ui.TestScene.h"
#include "toolkit/Toolkit.Clipboard.h"
#include "toolkit/Toolkit.TrayIcon.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <thread>

namespace toolkit::win32::testing {
namespace {

TEST(Win32Clipboard, TextRoundTripsThroughTheSystemClipboard) {
    TScene scene;
    const std::u16string text = u"/effort high \u00e9\U0001F600";
    scene.Backend.SetClipboardText(text);
    EXPECT_EQ(scene.Backend.ClipboardText(), text);
    scene.Backend.SetClipboardText(u"");
    EXPECT_EQ(scene.Backend.ClipboardText(), std::u16string());
}

TEST(Win32Clipboard, AClipboardHeldOpenByAnotherWindowRaisesAtOnce) {
    TScene scene;
    std::atomic<bool> held = false;
    std::atomic<bool> release = false;
    // Another thread's window opens the clipboard and keeps it open until told to let go.
    std::thread holder([&] {
        platform::win32::test::TTestWindowClass windowClass(L"TarvinClipboardHolder");
        platform::win32::test::TTestWindow window(windowClass, L"holder");
        held = ::OpenClipboard(window.Handle()) != FALSE;
        while (held && !release)
            ::Sleep(5);
        if (held)
            ::CloseClipboard();
        held = false;
        release = true;
    });
    ASSERT_TRUE(WaitUntil([&] { return held.load() || release.load(); }));
    ASSERT_TRUE(held) << "the other window could not open the clipboard";
    EXPECT_THROW(scene.Backend.SetClipboardText(u"x"), EClipboardException);
    EXPECT_THROW(scene.Backend.ClipboardText(), EClipboardException);
    release = true;
    holder.join();
    EXPECT_NO_THROW(scene.Backend.SetClipboardText(u"free again"));
}

TEST(Win32TrayIcon, TheIconIsAddedWhenVisibleAndRemovedWhenHidden) {
    TScene scene;
    auto* tray = new TTrayIcon(&scene.App);
    tray->SetHint(u"Tarvin - click to bring the window back");
    tray->SetIcon(TIcon::ApplicationIcon());
    tray->SetVisible(true);
    ASSERT_NE(tray->Peer(), nullptr);
    HWND window = reinterpret_cast<HWND>(tray->Peer()->Handle());
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = NIF_TIP;
    // The shell answers for an icon it has; a modification of an unknown icon fails.
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &data)) << "the shell does not know the icon";

    int clicks = 0;
    int doubleClicks = 0;
    tray->OnClick = [&](TComponent*) { ++clicks; };
    tray->OnDblClick = [&](TComponent*) { ++doubleClicks; };
    ::SendMessageW(window, WM_APP + 1, 1, WM_LBUTTONUP);
    ::SendMessageW(window, WM_APP + 1, 1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);

    tray->SetVisible(false);
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &data)) << "the icon is still there";

    // The taskbar comes back: a visible icon is added again.
    tray->SetVisible(true);
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    data.uFlags = 0;
    ::Shell_NotifyIconW(NIM_DELETE, &data); // as a restarted taskbar has forgotten it
    ::SendMessageW(window, taskbarCreated, 0, 0);
    data.uFlags = NIF_TIP;
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &data));
    tray->Free();
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &data)) << "freeing the icon must remove it";
}

TEST(Win32Screen, EveryMonitorHasBoundsAWorkAreaAndADensity) {
    TScene scene;
    const std::vector<TMonitor> monitors = scene.Backend.Monitors();
    ASSERT_FALSE(monitors.empty());
    int primaries = 0;
    for (const TMonitor& monitor : monitors) {
        EXPECT_GT(monitor.BoundsRect.Width(), 0);
        EXPECT_GT(monitor.WorkareaRect.Height(), 0);
        EXPECT_GE(monitor.PixelsPerInch, 96);
        primaries += monitor.Primary ? 1 : 0;
    }
    EXPECT_EQ(primaries, 1);
    EXPECT_EQ(monitors.front().BoundsRect.Width() > 0, true);
}

TEST(Win32Text, MeasuresGrowWithTheTextAndTheFont) {
    TScene scene;
    TFont font;
    font.SetName(u"Tahoma");
    font.SetHeight(-13);
    const TTextMetrics short_ = scene.Backend.MeasureText(font, u"ab");
    const TTextMetrics long_ = scene.Backend.MeasureText(font, u"abababab");
    EXPECT_GT(short_.Width, 0);
    EXPECT_GT(long_.Width, short_.Width * 3);
    EXPECT_GE(short_.Height, 13);
    TFont big = font;
    big.SetHeight(-26);
    EXPECT_GT(scene.Backend.MeasureText(big, u"ab").Width, short_.Width);
    EXPECT_EQ(scene.Backend.MeasureText(font, u"").Width, 0);
}

// A 2 x 2 PNG: red, green / blue, half-transparent white.
constexpr unsigned char TinyPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xb6, 0x0d,
    0x24, 0x00, 0x00, 0x00, 0x13, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0xf8, 0xcf, 0xc0, 0xf0,
    0x1f, 0x0c, 0x81, 0x34, 0x08, 0x34, 0x00, 0x00, 0x49, 0x49, 0x09, 0x78, 0x9c, 0x51, 0x17, 0x92,
    0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

TEST(Win32Picture, APngDecodesToBgraRowsAndOtherFilesToNothing) {
    TScene scene;
    platform::win32::test::TScratchFolder folder;
    const std::filesystem::path png = folder.Path() / L"tiny.png";
    std::ofstream(png, std::ios::binary).write(reinterpret_cast<const char*>(TinyPng), sizeof TinyPng);
    const auto picture = scene.Backend.LoadPicture(folder / L"tiny.png");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width, 2);
    EXPECT_EQ(picture->Height, 2);
    ASSERT_EQ(picture->Pixels.size(), 4u);
    EXPECT_EQ(picture->Pixels[0], 0xFFFF0000u) << "red, as BGRA in memory";
    EXPECT_EQ(picture->Pixels[1], 0xFF00FF00u);
    EXPECT_EQ(picture->Pixels[2], 0xFF0000FFu);
    EXPECT_EQ(picture->Pixels[3] >> 24, 0x80u);

    std::ofstream(folder.Path() / L"text.png") << "not a picture";
    EXPECT_FALSE(scene.Backend.LoadPicture(folder / L"text.png").has_value());
    EXPECT_FALSE(scene.Backend.LoadPicture(folder / L"missing.png").has_value());
}

} // namespace
} // namespace toolkit::win32::testing
