// Windows key input into the model's keys: the records SendInput is given (native tests) and the
// messages a window receives (termsim's window).
#include "tests/tools/termsim/Termsim.Printers.h"
#include "tools/termsim/Termsim.KeyDecoder.h"

#include <gtest/gtest.h>

namespace termsim {
namespace {

constexpr TModifiers NoModifier{};
constexpr TModifiers Ctrl{true, false, false};
constexpr TModifiers Shift{false, true, false};
constexpr TModifiers CtrlAlt{true, false, true};

platform::TKeyInput Unicode(char16_t unit, bool up = false) {
    platform::TKeyInput record;
    record.wScan = unit;
    record.dwFlags = platform::KeyEventUnicode | (up ? platform::KeyEventKeyUp : 0);
    return record;
}

platform::TKeyInput Virtual(std::uint16_t vk, bool up = false) {
    platform::TKeyInput record;
    record.wVk = vk;
    record.dwFlags = up ? platform::KeyEventKeyUp : 0;
    return record;
}

struct TRecordCase {
    const char* Name;
    platform::TKeyInput Record;
    TModifiers Modifiers;
    std::optional<TKeyEvent> Key;
};

void PrintTo(const TRecordCase& c, std::ostream* os) {
    *os << c.Name;
}

class KeyRecords : public testing::TestWithParam<TRecordCase> {};

TEST_P(KeyRecords, BecomeTheKeyTheWindowWouldTake) {
    TKeyDecoder decoder;
    EXPECT_EQ(decoder.Record(GetParam().Record, GetParam().Modifiers), GetParam().Key);
}

TKeyEvent Named(TKey key) {
    return {key, 0};
}

INSTANTIATE_TEST_SUITE_P(
    Records, KeyRecords,
    testing::Values(
        TRecordCase{"UnicodePacketIsACharacter", Unicode(u'a'), NoModifier, TKeyEvent{TKey::Char, u'a'}},
        TRecordCase{"UnicodePacketIgnoresCtrl", Unicode(u's'), Ctrl, TKeyEvent{TKey::Char, u's'}},
        TRecordCase{"UnicodeSurrogateHalf", Unicode(0xD83D), NoModifier, TKeyEvent{TKey::Char, char16_t(0xD83D)}},
        TRecordCase{"UnicodeKeyUpIsNothing", Unicode(u'a', true), NoModifier, std::nullopt},
        TRecordCase{"UnicodeCarriageReturnIsEnter", Unicode(u'\r'), NoModifier, Named(TKey::Enter)},
        TRecordCase{"UnicodeLineFeedIsALineBreak", Unicode(u'\n'), NoModifier, Named(TKey::ShiftEnter)},
        TRecordCase{"UnicodeDeleteIsBackspace", Unicode(0x7F), NoModifier, Named(TKey::Backspace)},
        TRecordCase{"UnicodeCtrlHDeletesOneCharacterToo", Unicode(0x08), NoModifier, Named(TKey::Backspace)},
        TRecordCase{"UnicodeEscape", Unicode(0x1B), NoModifier, Named(TKey::Escape)},
        TRecordCase{"UnicodeTab", Unicode(u'\t'), NoModifier, Named(TKey::Tab)},
        TRecordCase{"OtherControlUnitsAreNothing", Unicode(0x05), NoModifier, std::nullopt},
        TRecordCase{"Return", Virtual(VkReturn), NoModifier, Named(TKey::Enter)},
        TRecordCase{"ShiftReturn", Virtual(VkReturn), Shift, Named(TKey::ShiftEnter)},
        TRecordCase{"ReturnGoingUpIsNothing", Virtual(VkReturn, true), NoModifier, std::nullopt},
        TRecordCase{"Back", Virtual(VkBack), NoModifier, Named(TKey::Backspace)},
        TRecordCase{"CtrlBack", Virtual(VkBack), Ctrl, Named(TKey::CtrlBackspace)},
        TRecordCase{"Right", Virtual(VkRight), NoModifier, Named(TKey::Right)},
        TRecordCase{"Left", Virtual(VkLeft), NoModifier, Named(TKey::Left)},
        TRecordCase{"Up", Virtual(VkUp), NoModifier, Named(TKey::Up)},
        TRecordCase{"Down", Virtual(VkDown), NoModifier, Named(TKey::Down)},
        TRecordCase{"Home", Virtual(VkHome), NoModifier, Named(TKey::Home)},
        TRecordCase{"End", Virtual(VkEnd), NoModifier, Named(TKey::End)},
        TRecordCase{"Delete", Virtual(VkDelete), NoModifier, Named(TKey::Delete)},
        TRecordCase{"Escape", Virtual(VkEscape), NoModifier, Named(TKey::Escape)},
        TRecordCase{"Tab", Virtual(VkTab), NoModifier, Named(TKey::Tab)},
        TRecordCase{"ShiftTab", Virtual(VkTab), Shift, Named(TKey::ShiftTab)},
        TRecordCase{"CtrlS", Virtual(u'S'), Ctrl, Named(TKey::CtrlS)},
        TRecordCase{"CtrlU", Virtual(u'U'), Ctrl, Named(TKey::CtrlU)},
        TRecordCase{"CtrlE", Virtual(u'E'), Ctrl, Named(TKey::CtrlE)},
        TRecordCase{"CtrlY", Virtual(u'Y'), Ctrl, Named(TKey::CtrlY)},
        TRecordCase{"CtrlR", Virtual(u'R'), Ctrl, Named(TKey::CtrlR)},
        TRecordCase{"AnyOtherCtrlLetter", Virtual(u'G'), Ctrl, TKeyEvent{TKey::Ctrl, u'G'}},
        TRecordCase{"CtrlAltIsAltGrAndNoChord", Virtual(u'Q'), CtrlAlt, std::nullopt},
        TRecordCase{"PlainLetterIsTyped", Virtual(u'S'), NoModifier, TKeyEvent{TKey::Char, u's'}},
        TRecordCase{"ShiftedLetterIsACapital", Virtual(u'S'), Shift, TKeyEvent{TKey::Char, u'S'}},
        TRecordCase{"DigitIsTyped", Virtual(u'4'), NoModifier, TKeyEvent{TKey::Char, u'4'}},
        TRecordCase{"CtrlItselfIsNothing", Virtual(0x11), Ctrl, std::nullopt},
        TRecordCase{"CtrlGoingUpIsNothing", Virtual(0x11, true), NoModifier, std::nullopt}),
    [](const testing::TestParamInfo<TRecordCase>& test) { return std::string(test.param.Name); });

// The window's messages: WM_KEYDOWN, then the WM_CHAR TranslateMessage makes of it.
TEST(WindowMessages, EnterAndItsCarriageReturnAreOneKey) {
    TKeyDecoder decoder;
    EXPECT_EQ(decoder.KeyDown(VkReturn, NoModifier), Named(TKey::Enter));
    EXPECT_EQ(decoder.Character(u'\r'), std::nullopt);
}

TEST(WindowMessages, CtrlLetterAndItsControlCharacterAreOneKey) {
    TKeyDecoder decoder;
    EXPECT_EQ(decoder.KeyDown(u'S', Ctrl), Named(TKey::CtrlS));
    EXPECT_EQ(decoder.Character(0x13), std::nullopt);
}

TEST(WindowMessages, APacketsCharacterIsTakenControlUnitsIncluded) {
    TKeyDecoder decoder;
    EXPECT_EQ(decoder.KeyDown(VkPacket, NoModifier), std::nullopt);
    EXPECT_EQ(decoder.Character(u'\r'), Named(TKey::Enter));
    EXPECT_EQ(decoder.Character(u'\r'), std::nullopt) << "only the packet's own character";
    EXPECT_EQ(decoder.KeyDown(VkPacket, NoModifier), std::nullopt);
    EXPECT_EQ(decoder.Character(u'x'), (TKeyEvent{TKey::Char, u'x'}));
}

TEST(WindowMessages, ALetterKeyIsTypedThroughItsCharacter) {
    TKeyDecoder decoder;
    EXPECT_EQ(decoder.KeyDown(u'A', Shift), std::nullopt);
    EXPECT_EQ(decoder.Character(u'A'), (TKeyEvent{TKey::Char, u'A'}));
}

} // namespace
} // namespace termsim
