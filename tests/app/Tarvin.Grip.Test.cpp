#include "app/Tarvin.Grip.h"

#include <gtest/gtest.h>

namespace tarvin {
namespace {

struct TRegistrationCase {
    const char16_t* Text;
    std::uint32_t Modifiers;
    std::uint32_t Key;
};

TEST(GripRegistration, ShortcutBitsBecomeHotkeyFlagsWithNoRepeatAlways) {
    const TRegistrationCase cases[] = {
        {u"Ctrl+Alt+1", 0x4003, 0x31}, {u"Ctrl+Shift+F5", 0x4006, 0x74}, {u"Alt+Shift+Ctrl+Z", 0x4007, 0x5A},
        {u"F9", 0x4000, 0x78},         {u"Shift+Num 0", 0x4004, 0x60},   {u"Ctrl+Alt+Q+", 0x4000, 0},
    };
    for (const TRegistrationCase& c : cases) {
        const TShortCut shortCut = TextToShortCut(c.Text);
        EXPECT_EQ(HotkeyModifierFlags(shortCut), c.Modifiers) << std::u16string_view(c.Text).size();
        EXPECT_EQ(HotkeyKeyCode(shortCut), c.Key);
    }
}

TEST(GripRegistration, IdentifiersRunFromOneForLowToFiveForMax) {
    EXPECT_EQ(HotkeyId(elLow), 1);
    EXPECT_EQ(HotkeyId(elHigh), 3);
    EXPECT_EQ(HotkeyId(elMax), 5);
}

struct TStatusCase {
    bool Registered;
    TShortCut ShortCut;
    bool Held;
    const char16_t* Text;
};

TEST(GripTexts, StatusTakesTheFirstConditionThatApplies) {
    const TStatusCase cases[] = {
        {true, 0xC031, true, u"held - ready"},
        {false, 0, true, u"not a valid shortcut - fix it in the INI file"},
        {false, 0, false, u"not a valid shortcut - fix it in the INI file"},
        {false, 0xC031, true, u"REFUSED by Windows - another program owns it"},
        {false, 0xC031, false, u"released - free for other programs"},
    };
    for (const TStatusCase& c : cases) {
        EXPECT_EQ(HotkeyStatusText(c.Registered, c.ShortCut, c.Held), c.Text);
    }
}

TEST(GripTexts, LinesNameTheLevelTheTextAndTheFile) {
    EXPECT_EQ(GripTraceLine(u"ConsoleWindowClass", true),
              u"grip: front=\"ConsoleWindowClass\"  TAKING Ctrl+Alt+1..5");
    EXPECT_EQ(GripTraceLine(u"", false), u"grip: front=\"\"  RELEASING Ctrl+Alt+1..5");
    EXPECT_EQ(InvalidShortcutLine(elMedium, u"Ctrl+Alt+Q+"),
              u"Hotkey for \"medium\" is not a valid shortcut: \"Ctrl+Alt+Q+\"");
    EXPECT_EQ(
        RefusedHotkeyLine(elHigh, u"Ctrl+Alt+3", u"C:\\T\\Tarvin.ini"),
        u"Windows refused the hotkey Ctrl+Alt+3 for \"high\". Another program already owns that combination. "
        u"Change it in C:\\T\\Tarvin.ini");
    EXPECT_EQ(EffortCommandText(elXHigh), u"/effort xhigh");
}

} // namespace
} // namespace tarvin
