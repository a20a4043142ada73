#include "tools/termsim/Termsim.KeyDecoder.h"

namespace termsim {

namespace {

std::optional<TKeyEvent> Named(TKey Key) {
    return TKeyEvent{Key, 0};
}

std::optional<TKeyEvent> CtrlLetter(char16_t Letter) {
    switch (Letter) {
    case u'E':
        return Named(TKey::CtrlE);
    case u'U':
        return Named(TKey::CtrlU);
    case u'Y':
        return Named(TKey::CtrlY);
    case u'S':
        return Named(TKey::CtrlS);
    case u'R':
        return Named(TKey::CtrlR);
    case u'A':
        return Named(TKey::CtrlA);
    case u'K':
        return Named(TKey::CtrlK);
    case u'W':
        return Named(TKey::CtrlW);
    case u'C':
        return Named(TKey::CtrlC);
    default:
        return TKeyEvent{TKey::Ctrl, Letter};
    }
}

// A control unit as the program behind a console reads it.
std::optional<TKeyEvent> ControlUnit(char16_t Unit) {
    switch (Unit) {
    case u'\r':
        return Named(TKey::Enter);
    case u'\n':
        // Ctrl+J: the prompt takes a line feed as a line break, as it takes Shift+Enter.
        return Named(TKey::ShiftEnter);
    case u'\t':
        return Named(TKey::Tab);
    case 0x1B:
        return Named(TKey::Escape);
    case 0x7F:
    case 0x08:
        // Both delete one character, as the CLI takes 0x7F and Ctrl+H; the word goes with
        // Ctrl+Backspace as a key.
        return Named(TKey::Backspace);
    default:
        return std::nullopt;
    }
}

bool IsControl(char16_t Unit) {
    return Unit < 0x20 || Unit == 0x7F;
}

} // namespace

std::optional<TKeyEvent> TKeyDecoder::KeyDown(std::uint16_t VirtualKey, TModifiers Modifiers) {
    FPacket = VirtualKey == VkPacket;
    switch (VirtualKey) {
    case VkReturn:
        return Named(Modifiers.Shift ? TKey::ShiftEnter : TKey::Enter);
    case VkBack:
        return Named(Modifiers.Ctrl ? TKey::CtrlBackspace : TKey::Backspace);
    case VkTab:
        return Named(Modifiers.Shift ? TKey::ShiftTab : TKey::Tab);
    case VkEscape:
        return Named(TKey::Escape);
    case VkRight:
        return Named(TKey::Right);
    case VkLeft:
        return Named(TKey::Left);
    case VkUp:
        return Named(TKey::Up);
    case VkDown:
        return Named(TKey::Down);
    case VkHome:
        return Named(TKey::Home);
    case VkEnd:
        return Named(TKey::End);
    case VkDelete:
        return Named(TKey::Delete);
    default:
        break;
    }
    if (VirtualKey >= u'A' && VirtualKey <= u'Z' && Modifiers.Ctrl && !Modifiers.Alt) {
        return CtrlLetter(static_cast<char16_t>(VirtualKey));
    }
    return std::nullopt;
}

std::optional<TKeyEvent> TKeyDecoder::Character(char16_t Unit) {
    const bool packet = FPacket;
    FPacket = false;
    if (IsControl(Unit)) {
        return packet ? ControlUnit(Unit) : std::nullopt;
    }
    return TKeyEvent{TKey::Char, Unit};
}

std::optional<TKeyEvent> TKeyDecoder::Record(const platform::TKeyInput& Record, TModifiers Modifiers) {
    if (Record.type != platform::InputKeyboard || (Record.dwFlags & platform::KeyEventKeyUp) != 0) {
        return std::nullopt;
    }
    if ((Record.dwFlags & platform::KeyEventUnicode) != 0) {
        KeyDown(VkPacket, Modifiers);
        return Character(static_cast<char16_t>(Record.wScan));
    }
    if (std::optional<TKeyEvent> key = KeyDown(Record.wVk, Modifiers)) {
        return key;
    }
    // The character the window's message loop would make of a plain key (a US layout; what
    // AltGr makes depends on the layout, so a chord makes none here).
    const std::uint16_t vk = Record.wVk;
    if (Modifiers.Ctrl || Modifiers.Alt) {
        return std::nullopt;
    }
    if (vk >= u'A' && vk <= u'Z') {
        return Character(static_cast<char16_t>(Modifiers.Shift ? vk : vk - u'A' + u'a'));
    }
    if ((vk >= u'0' && vk <= u'9' && !Modifiers.Shift) || vk == VkSpace) {
        return Character(static_cast<char16_t>(vk));
    }
    return std::nullopt;
}

} // namespace termsim
