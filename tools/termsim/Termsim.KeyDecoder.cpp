#include "tools/termsim/Termsim.KeyDecoder.h"

namespace termsim {

namespace {

std::optional<TKeyEvent> Named(TKey key) {
    return TKeyEvent{key, 0};
}

std::optional<TKeyEvent> CtrlLetter(char16_t letter) {
    switch (letter) {
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
        return TKeyEvent{TKey::Ctrl, letter};
    }
}

// A control unit as the program behind a console reads it.
std::optional<TKeyEvent> ControlUnit(char16_t unit) {
    switch (unit) {
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

bool IsControl(char16_t unit) {
    return unit < 0x20 || unit == 0x7F;
}

} // namespace

std::optional<TKeyEvent> TKeyDecoder::KeyDown(std::uint16_t virtualKey, TModifiers modifiers) {
    FPacket = virtualKey == VkPacket;
    switch (virtualKey) {
    case VkReturn:
        return Named(modifiers.Shift ? TKey::ShiftEnter : TKey::Enter);
    case VkBack:
        return Named(modifiers.Ctrl ? TKey::CtrlBackspace : TKey::Backspace);
    case VkTab:
        return Named(modifiers.Shift ? TKey::ShiftTab : TKey::Tab);
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
    if (virtualKey >= u'A' && virtualKey <= u'Z' && modifiers.Ctrl && !modifiers.Alt) {
        return CtrlLetter(static_cast<char16_t>(virtualKey));
    }
    return std::nullopt;
}

std::optional<TKeyEvent> TKeyDecoder::Character(char16_t unit) {
    const bool packet = FPacket;
    FPacket = false;
    if (IsControl(unit)) {
        return packet ? ControlUnit(unit) : std::nullopt;
    }
    return TKeyEvent{TKey::Char, unit};
}

std::optional<TKeyEvent> TKeyDecoder::Record(const platform::TKeyInput& record, TModifiers modifiers) {
    if (record.type != platform::InputKeyboard || (record.dwFlags & platform::KeyEventKeyUp) != 0) {
        return std::nullopt;
    }
    if ((record.dwFlags & platform::KeyEventUnicode) != 0) {
        KeyDown(VkPacket, modifiers);
        return Character(static_cast<char16_t>(record.wScan));
    }
    if (std::optional<TKeyEvent> key = KeyDown(record.wVk, modifiers)) {
        return key;
    }
    // The character the window's message loop would make of a plain key (a US layout; what
    // AltGr makes depends on the layout, so a chord makes none here).
    const std::uint16_t vk = record.wVk;
    if (modifiers.Ctrl || modifiers.Alt) {
        return std::nullopt;
    }
    if (vk >= u'A' && vk <= u'Z') {
        return Character(static_cast<char16_t>(modifiers.Shift ? vk : vk - u'A' + u'a'));
    }
    if ((vk >= u'0' && vk <= u'9' && !modifiers.Shift) || vk == VkSpace) {
        return Character(static_cast<char16_t>(vk));
    }
    return std::nullopt;
}

} // namespace termsim
