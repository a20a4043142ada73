#include "platform/sim/Sim.Hotkeys.h"

#include <gtest/gtest.h>

namespace platform::sim {
namespace {

constexpr std::uint32_t CtrlAlt = HotkeyModControl | HotkeyModAlt;
constexpr TWindowHandle Window = 0x50000;
constexpr TWindowHandle OtherWindow = 0x50010;

TEST(SimHotkeys, APressReachesTheHoldingWindowOnlyWhileRegistered) {
    TSimHotkeys hotkeys;
    EXPECT_EQ(hotkeys.Press(CtrlAlt, '3'), std::nullopt);

    ASSERT_TRUE(hotkeys.RegisterHotKey(Window, 3, CtrlAlt | HotkeyModNoRepeat, '3'));
    EXPECT_TRUE(hotkeys.IsRegistered(Window, 3));
    EXPECT_EQ(hotkeys.Press(CtrlAlt, '3'), (TSimHotkeys::TDelivery{Window, 3}));
    EXPECT_EQ(hotkeys.Press(CtrlAlt, '4'), std::nullopt);
    EXPECT_EQ(hotkeys.Press(HotkeyModControl, '3'), std::nullopt) << "Ctrl+3 is another combination";

    hotkeys.UnregisterHotKey(Window, 3);
    EXPECT_FALSE(hotkeys.IsRegistered(Window, 3));
    EXPECT_EQ(hotkeys.Press(CtrlAlt, '3'), std::nullopt);
}

TEST(SimHotkeys, ACombinationHasOneHolderWhoeverAsks) {
    TSimHotkeys hotkeys;
    ASSERT_TRUE(hotkeys.RegisterForOtherProgram(CtrlAlt, '3'));
    EXPECT_FALSE(hotkeys.RegisterHotKey(Window, 3, CtrlAlt | HotkeyModNoRepeat, '3'))
        << "MOD_NOREPEAT is no part of the combination";
    EXPECT_EQ(hotkeys.Press(CtrlAlt, '3'), std::nullopt) << "the other program gets the press";

    hotkeys.UnregisterForOtherProgram(CtrlAlt, '3');
    ASSERT_TRUE(hotkeys.RegisterHotKey(Window, 3, CtrlAlt, '3'));
    EXPECT_FALSE(hotkeys.RegisterForOtherProgram(CtrlAlt, '3'));
    EXPECT_FALSE(hotkeys.RegisterHotKey(OtherWindow, 1, CtrlAlt, '3'));
    EXPECT_EQ(hotkeys.Calls().back(), "register 0x50010 1 mods=0x3 vk=0x33 refused");
}

TEST(SimHotkeys, UnregisteringTouchesOnlyThatWindowAndIdentifier) {
    TSimHotkeys hotkeys;
    ASSERT_TRUE(hotkeys.RegisterHotKey(Window, 1, CtrlAlt, '1'));
    ASSERT_TRUE(hotkeys.RegisterHotKey(Window, 2, CtrlAlt, '2'));
    ASSERT_TRUE(hotkeys.RegisterHotKey(OtherWindow, 1, CtrlAlt, '9'));

    hotkeys.UnregisterHotKey(Window, 1);
    hotkeys.UnregisterHotKey(Window, 5); // never registered: harmless

    EXPECT_FALSE(hotkeys.IsRegistered(Window, 1));
    EXPECT_TRUE(hotkeys.IsRegistered(Window, 2));
    EXPECT_TRUE(hotkeys.IsRegistered(OtherWindow, 1));
    EXPECT_EQ(hotkeys.RegistrationCount(), 2u);
}

TEST(SimHotkeys, TheSameIdentifierRegisteredTwiceKeepsBothUntilUnregistered) {
    TSimHotkeys hotkeys;
    ASSERT_TRUE(hotkeys.RegisterHotKey(Window, 1, CtrlAlt, '1'));
    ASSERT_TRUE(hotkeys.RegisterHotKey(Window, 1, CtrlAlt, '7'));
    EXPECT_EQ(hotkeys.Press(CtrlAlt, '1'), (TSimHotkeys::TDelivery{Window, 1}));
    EXPECT_EQ(hotkeys.Press(CtrlAlt, '7'), (TSimHotkeys::TDelivery{Window, 1}));

    hotkeys.UnregisterHotKey(Window, 1);
    EXPECT_EQ(hotkeys.RegistrationCount(), 0u);
}

TEST(SimHotkeys, NoWindowGetsNoHotkey) {
    TSimHotkeys hotkeys;
    EXPECT_FALSE(hotkeys.RegisterHotKey(0, 1, CtrlAlt, '1'));
    EXPECT_EQ(hotkeys.RegistrationCount(), 0u);
}

} // namespace
} // namespace platform::sim
