#include "base/Base.Unicode.h"
#include "platform/win32/Win32.Hotkeys.h"
#include "platform/win32/Win32.TimeFormat.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <optional>

namespace platform::win32 {
namespace {

using test::TTestWindow;
using test::TTestWindowClass;

// A chord no desktop of the test machines uses.
constexpr std::uint32_t Modifiers = HotkeyModControl | HotkeyModAlt | HotkeyModShift;
constexpr std::uint32_t Key = VK_F11;

INPUT KeyRecord(WORD virtualKey, bool up) {
    INPUT record{};
    record.type = INPUT_KEYBOARD;
    record.ki.wVk = virtualKey;
    record.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return record;
}

// Presses and lets go of the chord as a keyboard would, modifiers first.
void PressChord() {
    std::array<INPUT, 8> records = {KeyRecord(VK_CONTROL, false),
                                    KeyRecord(VK_MENU, false),
                                    KeyRecord(VK_SHIFT, false),
                                    KeyRecord(static_cast<WORD>(Key), false),
                                    KeyRecord(static_cast<WORD>(Key), true),
                                    KeyRecord(VK_SHIFT, true),
                                    KeyRecord(VK_MENU, true),
                                    KeyRecord(VK_CONTROL, true)};
    SendInput(static_cast<UINT>(records.size()), records.data(), sizeof(INPUT));
}

// The identifier of the next WM_HOTKEY for the window. The thread's other messages are pumped,
// but WM_HOTKEY is taken out before any pumping could hand it to the window's default procedure.
std::optional<WPARAM> WaitForHotkey(HWND window, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG msg;
        if (PeekMessageW(&msg, window, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
            return msg.wParam;
        }
        while (PeekMessageW(&msg, nullptr, 0, WM_HOTKEY - 1, PM_REMOVE) ||
               PeekMessageW(&msg, nullptr, WM_HOTKEY + 1, 0xFFFFFFFF, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        Sleep(10);
    }
}

class Win32Hotkeys : public ::testing::Test {
protected:
    void TearDown() override {
        Hotkeys.UnregisterHotKey(First.Value(), 3);
        Hotkeys.UnregisterHotKey(Second.Value(), 4);
    }

    TTestWindowClass Class{L"TarvinHotkeyTest"};
    TTestWindow First{Class, L"first"};
    TTestWindow Second{Class, L"second"};
    TWin32Hotkeys Hotkeys;
};

TEST_F(Win32Hotkeys, ARegisteredChordArrivesAsWmHotkeyWithItsIdentifier) {
    ASSERT_TRUE(Hotkeys.RegisterHotKey(First.Value(), 3, Modifiers | HotkeyModNoRepeat, Key));

    PressChord();

    EXPECT_EQ(WaitForHotkey(First.Handle(), std::chrono::seconds(10)), std::optional<WPARAM>(3));
}

TEST_F(Win32Hotkeys, AChordHasOneHolderUntilItIsFreed) {
    ASSERT_TRUE(Hotkeys.RegisterHotKey(First.Value(), 3, Modifiers, Key));
    EXPECT_FALSE(Hotkeys.RegisterHotKey(Second.Value(), 4, Modifiers | HotkeyModNoRepeat, Key));

    Hotkeys.UnregisterHotKey(First.Value(), 3);
    ASSERT_TRUE(Hotkeys.RegisterHotKey(Second.Value(), 4, Modifiers, Key));

    PressChord();
    EXPECT_EQ(WaitForHotkey(Second.Handle(), std::chrono::seconds(10)), std::optional<WPARAM>(4));
    EXPECT_EQ(WaitForHotkey(First.Handle(), std::chrono::milliseconds(300)), std::nullopt);
}

TEST_F(Win32Hotkeys, UnregisteringWhatWasNeverRegisteredIsHarmless) {
    Hotkeys.UnregisterHotKey(First.Value(), 5);
    Hotkeys.UnregisterHotKey(0, 5);
    EXPECT_TRUE(Hotkeys.RegisterHotKey(First.Value(), 3, Modifiers, Key));
}

TEST(Win32TimeFormat, ShowsTheTimeOfDayInTheUsersFormat) {
    const TWin32TimeFormat format;
    const std::u16string afternoon = format.LongTimeText(46000.0 + (13 * 3600 + 5 * 60 + 9) / 86400.0);
    const std::u16string morning = format.LongTimeText(46000.0 + (1 * 3600 + 5 * 60 + 9) / 86400.0);

    EXPECT_NE(afternoon.find(u"05"), std::u16string::npos) << base::Utf16ToUtf8(afternoon);
    EXPECT_NE(afternoon.find(u"09"), std::u16string::npos);
    EXPECT_NE(afternoon, morning) << "the hour is shown, on a 12- or a 24-hour clock";
    EXPECT_EQ(format.LongTimeText(46000.5), format.LongTimeText(12345.5)) << "the date plays no part";
}

} // namespace
} // namespace platform::win32
