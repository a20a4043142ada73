#include "platform/win32/Win32.ForegroundWatch.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

namespace platform::win32 {
namespace {

using test::TTestWindow;
using test::TTestWindowClass;
using test::WaitUntil;

// Wine accepts the hook but sends no EVENT_SYSTEM_FOREGROUND (Wine 8 sends focus and creation
// events only); the grip's quick poll covers it there.
bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Brings Window to the front, asking again while waiting: another program on the shared display
// may take it meanwhile.
bool BringForward(const TTestWindow& Window) {
    return WaitUntil([&] {
        if (GetForegroundWindow() == Window.Handle())
            return true;
        SetForegroundWindow(Window.Handle());
        return false;
    });
}

TEST(Win32ForegroundWatch, TellsThisThreadWhenAnotherWindowComesToTheFrontUntilStopped) {
    TTestWindowClass windowClass(L"TarvinForegroundWatch");
    TTestWindow first(windowClass, L"first", TTestWindow::TShow::Visible);
    TTestWindow second(windowClass, L"second", TTestWindow::TShow::Visible);
    ASSERT_TRUE(BringForward(first));

    TWin32ForegroundWatch watch;
    int changes = 0;
    ASSERT_TRUE(watch.Start([&] { ++changes; }));
    if (UnderWine()) {
        watch.Stop();
        GTEST_SKIP() << "Wine sends no foreground events";
    }
    ASSERT_TRUE(BringForward(second));
    EXPECT_TRUE(WaitUntil([&] { return changes > 0; })) << "no word of the new front window";

    watch.Stop();
    const int before = changes;
    ASSERT_TRUE(BringForward(first));
    // Anything still queued would have arrived while the loop above pumped messages.
    WaitUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(changes, before) << "a stopped watch still called back";
}

TEST(Win32ForegroundWatch, TwoWatchesEachHearTheirOwnCalls) {
    TTestWindowClass windowClass(L"TarvinForegroundWatchTwo");
    TTestWindow first(windowClass, L"first", TTestWindow::TShow::Visible);
    TTestWindow second(windowClass, L"second", TTestWindow::TShow::Visible);
    ASSERT_TRUE(BringForward(first));

    TWin32ForegroundWatch a;
    TWin32ForegroundWatch b;
    int heardA = 0;
    int heardB = 0;
    ASSERT_TRUE(a.Start([&] { ++heardA; }));
    ASSERT_TRUE(b.Start([&] { ++heardB; }));
    if (UnderWine()) {
        GTEST_SKIP() << "Wine sends no foreground events";
    }
    ASSERT_TRUE(BringForward(second));
    EXPECT_TRUE(WaitUntil([&] { return heardA > 0 && heardB > 0; }));
}

} // namespace
} // namespace platform::win32
